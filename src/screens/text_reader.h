// Reads the game's text files (saved games, the options file) item by item, the way the C
// formats "%d", "%s" and "%f" read them, but safely: no number can overflow, no word can
// overrun its buffer.
//
// White space is what the C locale calls white space (space, tab, line feed, carriage return,
// vertical tab, form feed); it is skipped before every item. The first item that cannot be read
// (end of file, text that is not a number, a number outside the range of int) stops the reader
// for good: every later read fails too, as every later fscanf would fail on the same text.
#pragma once

#include <cstddef>
#include <cstdio>

class TextReader {
  public:
    explicit TextReader(std::FILE* file) : file_(file) {}

    // A decimal integer with an optional sign. False, storing nothing, when the reader has
    // stopped, at the end of the file, on text that is not a number, or when the number does
    // not fit in an int (it is then unreadable, like text).
    bool readInt(int& value);
    // A run of characters other than white space. At most capacity - 1 of them are stored,
    // followed by a NUL; the rest of a longer word is skipped whole. False at the end of the file
    // or once the reader has stopped.
    bool readWord(char* out, std::size_t capacity);
    // A real number in decimal form ("0.100000", "-1.5e3", "7", ".5"), read and dropped.
    bool skipReal();
    // True once an item could not be read.
    bool stopped() const { return stopped_; }
    // Stops the reader as an unreadable item would (the caller found a value it cannot accept).
    void stop() { stopped_ = true; }

  private:
    int next();
    void putBack(int c);
    void skipSpace();
    bool fail();

    std::FILE* file_;
    bool stopped_ = false;
};
