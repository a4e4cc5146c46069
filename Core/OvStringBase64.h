#pragma once
// Base64 with the standard alphabet.

#include "OvString.h"

#include <cstdint>
#include <vector>

// Four characters per three bytes, padded with '=' to a multiple of four; a line feed goes before
// every group once 64 characters stand on the current line. No bytes give the empty text.
OvString EncodeBase64(const void* bytes, int count);

// Carriage returns and line feeds are skipped; every group of four characters gives three bytes,
// '=' and characters outside the alphabet counting as 0. The output is shortened by the '=' of
// the last group and by the characters missing from it, at most by that group's three bytes.
std::vector<uint8_t> DecodeBase64(const wchar_t* text);
