#include "screens/text_reader.h"

#include <climits>

namespace {

bool isSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool isDigit(int c) {
    return c >= '0' && c <= '9';
}

}  // namespace

int TextReader::next() {
    return std::getc(file_);
}

void TextReader::putBack(int c) {
    if (c != EOF) {
        std::ungetc(c, file_);
    }
}

void TextReader::skipSpace() {
    int c = next();
    while (isSpace(c)) {
        c = next();
    }
    putBack(c);
}

bool TextReader::fail() {
    stopped_ = true;
    return false;
}

bool TextReader::readInt(int& value) {
    if (stopped_) {
        return false;
    }
    skipSpace();
    int c = next();
    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        c = next();
    }
    if (!isDigit(c)) {
        putBack(c);
        return fail();
    }
    // The magnitude is kept just past the largest one an int can hold, so that a number of any
    // length is read whole and found out of range without overflowing anything.
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    long long magnitude = 0;
    bool outOfRange = false;
    while (isDigit(c)) {
        if (!outOfRange) {
            magnitude = magnitude * 10 + (c - '0');
            outOfRange = magnitude > limit;
        }
        c = next();
    }
    putBack(c);
    if (outOfRange) {
        return fail();
    }
    value = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}

bool TextReader::readWord(char* out, std::size_t capacity) {
    if (stopped_) {
        return false;
    }
    skipSpace();
    int c = next();
    if (c == EOF) {
        return fail();
    }
    std::size_t length = 0;
    while (c != EOF && !isSpace(c)) {
        if (length + 1 < capacity) {
            out[length++] = static_cast<char>(c);
        }
        c = next();
    }
    putBack(c);
    if (capacity > 0) {
        out[length] = '\0';
    }
    return true;
}

bool TextReader::skipReal() {
    if (stopped_) {
        return false;
    }
    skipSpace();
    int c = next();
    if (c == '+' || c == '-') {
        c = next();
    }
    int digits = 0;
    while (isDigit(c)) {
        ++digits;
        c = next();
    }
    if (c == '.') {
        c = next();
        while (isDigit(c)) {
            ++digits;
            c = next();
        }
    }
    if (digits == 0) {
        putBack(c);
        return fail();
    }
    if (c == 'e' || c == 'E') {
        c = next();
        if (c == '+' || c == '-') {
            c = next();
        }
        if (!isDigit(c)) {
            putBack(c);
            return fail();
        }
        while (isDigit(c)) {
            c = next();
        }
    }
    putBack(c);
    return true;
}
