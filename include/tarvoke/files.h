// Files and resources: the eight file channels and the whole-file helpers, the INI document, the
// line-addressed text files, and the packed resource archive through which loaders find files.
// Names may separate folders with "/" or "\".
#pragma once
#include "tarvoke/StrValue.h"

namespace tarvoke {

// ---------------------------------------------------------------- file channels 0..7
// A channel outside 0..7 (or NaN) is runtime error 7; a read or write on a closed channel, a
// short transfer and a line read at the end of the file are runtime error 3. Both end the program.
NumValue openFile(NumValue channel, const StrValue& name, NumValue mode);  // mode 0: create; else read; 1 or 0
NumValue closeFile(NumValue channel);                        // 0
NumValue endOfFile(NumValue channel);                        // 1 when every byte has been read
void readByte(NumValue channel, NumValue& value);            // 0..255
void readWord(NumValue channel, NumValue& value);            // 0..65535, little-endian
void readLong(NumValue channel, NumValue& value);            // signed 32-bit, little-endian
void readIeee(NumValue channel, NumValue& value);            // an 8-byte double
void readText(NumValue channel, StrValue& text, NumValue count);  // count bytes, up to the first NUL
void readLine(NumValue channel, StrValue& text);             // up to LF (a CR before it dropped); 1024 bytes at most
void readLineNumber(NumValue channel, NumValue& value);      // readLine, then toNumber
void writeByte(NumValue channel, NumValue value);            // low 8 bits
void writeWord(NumValue channel, NumValue value);            // low 16 bits, little-endian
void writeLong(NumValue channel, NumValue value);            // 32 bits, little-endian
void writeIeee(NumValue channel, NumValue value);            // the double's 8 bytes
void writeText(NumValue channel, const StrValue& text);      // the text's bytes, no terminator
void writeLine(NumValue channel, const StrValue& text);      // the text and CR LF
void writeLineNumber(NumValue channel, NumValue value);      // formatNumber and CR LF

// ---------------------------------------------------------------- whole files
NumValue fileSize(const StrValue& name);                     // bytes; 0 when it cannot be opened
NumValue fileExists(const StrValue& name);                   // 1 when it can be opened for reading
NumValue deleteFile(const StrValue& name);                   // 1 when deleted
void copyFile(const StrValue& source, const StrValue& destination);  // a failed copy leaves no partial file
NumValue toForwardSlashes(StrValue& text);                   // each "\" becomes "/"; the length

// ---------------------------------------------------------------- INI document
// One file at a time, held in memory and written back when the next is opened and at program end,
// only if changed. Section and key names match without regard to ASCII letter case.
void iniOpen(const StrValue& name);
StrValue iniGet(const StrValue& section, const StrValue& key);  // "NO_DATA" when absent
void iniPut(const StrValue& section, const StrValue& key, const StrValue& value);  // "" value: removes the key; "" key: the section

// ---------------------------------------------------------------- line files, lines 0..255
// One file cached at a time, written back when another is used and at program end, if changed.
// A line outside 0..255 records error 7, a missing file error 3; the program goes on.
StrValue getFileLine(const StrValue& name, NumValue line);   // "NO_DATA" empty or out of range, "NO_FILE" missing
NumValue getFileLineNumber(const StrValue& name, NumValue line);  // toNumber of getFileLine
void putFileLine(const StrValue& name, NumValue line, const StrValue& text);
void putFileLineNumber(const StrValue& name, NumValue line, NumValue number);  // formatNumber

// ---------------------------------------------------------------- packed archive
// Names the archives that loaders consult for files missing on disk: one for pictures, sounds,
// INI, line and model files, one for music and video. Either may be empty (no archive).
void setArchive(const StrValue& general, const StrValue& media);

} // namespace tarvoke
