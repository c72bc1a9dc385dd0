// midText, replaceText, splitText and findText with arbitrary arguments, each against a few lines
// of plain reference code over std::string.
#include <cmath>
#include <cstring>
#include <string>
#include <vector>
#include "support/FuzzSupport.h"
#include "tarvoke/arrays.h"
#include "tarvoke/builtins.h"

namespace {

using tarvoke::fuzz::check;

std::string midReference(const std::string& text, double start, double count) {
    const long long length = static_cast<long long>(text.size());
    const long long from = static_cast<long long>(std::trunc(start));
    long long taken = static_cast<long long>(std::trunc(count));
    if (from + taken > length) taken = length - from;
    if (taken <= 0 || from > length || from < 0) return "";
    return text.substr(std::size_t(from), std::size_t(taken));
}

std::string replaceReference(std::string text, const std::string& search, const std::string& replacement) {
    if (search.empty()) return text;
    for (std::size_t at = text.find(search); at != std::string::npos; at = text.find(search, at + replacement.size()))
        text.replace(at, search.size(), replacement);
    return text;
}

std::vector<std::string> splitReference(const std::string& text, const std::string& delimiters) {
    std::vector<std::string> tokens(1);
    for (char c : text) {
        if (delimiters.find(c) == std::string::npos) tokens.back() += c;
        else if (!tokens.back().empty()) tokens.emplace_back();
    }
    if (tokens.back().empty()) tokens.pop_back();
    return tokens;
}

// Three texts separated by 0xFF bytes (NUL bytes dropped: a text ends at its first one).
std::vector<std::string> textsOf(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> texts(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0xFF && texts.size() < 3) texts.emplace_back();
        else if (data[i] != 0) texts.back() += char(data[i]);
    }
    texts.resize(3);
    return texts;
}

double sliceArgument(const std::uint8_t* bytes) {
    const std::int16_t whole = std::int16_t(bytes[0] | bytes[1] << 8);
    return whole + (bytes[2] % 4) * 0.25 * (whole < 0 ? -1 : 1);
}

} // namespace

// The input: start and count of midText (two bytes and a fraction byte each), then the texts.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvoke;
    if (size < 6) return 0;
    const double start = sliceArgument(data), count = sliceArgument(data + 3);
    const std::vector<std::string> texts = textsOf(data + 6, size - 6);
    const StrValue text(texts[0].c_str()), other(texts[1].c_str()), third(texts[2].c_str());

    check(midText(text, start, count).cStr() == midReference(texts[0], start, count), "midText");
    check(replaceText(text, other, third).cStr() == replaceReference(texts[0], texts[1], texts[2]), "replaceText");
    const std::size_t found = texts[0].find(texts[1]);
    check(findText(text, other) == (found == std::string::npos ? -1.0 : double(found)), "findText");

    TextArray tokens;
    const std::vector<std::string> expected = splitReference(texts[0], texts[1]);
    check(splitText(text, tokens, other) == double(expected.size()), "splitText counts the tokens");
    for (std::size_t i = 0; i < expected.size(); ++i)
        check(tokens(IntValue(i)).cStr() == expected[i], "splitText's tokens");
    return 0;
}
