#pragma once
// Splitting a text into runs of white space, words, digits and other characters.

#include "OvCoreArray.h"
#include "OvStringArray.h"

enum OvTokenKind {
    kOvTokenNone = 0,
    kOvTokenWhitespace = 1,
    kOvTokenWord = 2,
    kOvTokenDigits = 3,
    kOvTokenOther = 4,   // any other single character
};

// Walks the text and adds its maximal runs and their kinds; returns the number of tokens.
int Tokenize(const wchar_t* text, OvStringArray& tokens, OvNumberArray& kinds);

// The word or digit run that starts at position: its kind (kOvTokenNone when neither starts
// there, token empty), and position moved past it.
int NextWordOrNumber(const OvString& text, int& position, OvString& token);
