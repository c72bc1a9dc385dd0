// DATA lists: the values a program reads in order after choosing a list with restoreData.
#include "tarvoke/core.h"
#include "tarvoke/builtins.h"

namespace tarvoke {

namespace {

DataList* currentDataList = nullptr;  // none until the first restoreData

// Reading past the end is error 20 and ends the program. A read index moved below 0 from
// outside counts as past the end too, so a read never leaves the list's items.
const DataItem& takeNextItem() {
    DataList* list = currentDataList;
    if (list == nullptr || list->readIndex < 0 || list->readIndex >= list->count) {
        recordError(20);
        endProgram();
    }
    return list->items[list->readIndex++];
}

} // namespace

void restoreData(DataList& list) {
    currentDataList = &list;
    list.readIndex = 0;
}

StrValue readDataText() {
    const DataItem& item = takeNextItem();
    return item.text ? StrValue(item.text) : formatNumber(item.number);
}

NumValue readDataNumber() {
    const DataItem& item = takeNextItem();
    return item.text ? toNumber(item.text) : item.number;
}

} // namespace tarvoke
