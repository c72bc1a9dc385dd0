// A library the library-binding tests load by name. Its counter starts again only when the
// library is unloaded and loaded anew.
extern "C" int tvkCount() {
    static int calls = 0;
    return ++calls;
}

extern "C" int tvkTwice(int value) { return 2 * value; }
