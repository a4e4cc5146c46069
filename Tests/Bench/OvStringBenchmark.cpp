// Times string library operations against straightforward std::wstring code doing the same work,
// in the same run, and prints the time ratios (library time / std::wstring time).

#include "OvStringArray.h"
#include "OvStringFormat.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <string>
#include <vector>

namespace {

volatile size_t sink;

// Keeps the compiler from dropping the work whose result is only counted.
__attribute__((noinline)) void Consume(size_t value) { sink = sink + value; }

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Best of several runs, in milliseconds.
template <class F>
double Time(F work, int runs = 7)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const double start = Now();
        work();
        const double elapsed = (Now() - start) * 1000.0;
        if (elapsed < best) best = elapsed;
    }
    return best;
}

bool allCorrect = true;

void Report(const char* name, double library, double baseline, bool sameResult)
{
    if (!sameResult) allCorrect = false;
    printf("%-44s %10.2f ms %10.2f ms %8.2fx%s\n", name, library, baseline, library / baseline,
           sameResult ? "" : "   RESULTS DIFFER");
}

// A text of about the given number of characters made of words, some of them the patterns.
std::wstring MakeText(size_t characters)
{
    static const wchar_t* const words[] = {L"alpha",  L"Beta",   L"gamma", L"DELTA", L"installer", L"folder",
                                           L"files",  L"orvane", L"kestrel", L"deck", L"setup",  L"media",
                                           L"player", L"skin",   L"library", L"path"};
    std::wstring text;
    text.reserve(characters + 16);
    unsigned seed = 12345;
    while (text.size() < characters) {
        seed = seed * 1103515245u + 12345u;
        text += words[(seed >> 16) % 16];
        text += (seed >> 8) % 5 == 0 ? L", " : L" ";
    }
    text.resize(characters);
    return text;
}

// --- copy -------------------------------------------------------------------------------------

void BenchCopy()
{
    constexpr int kCopies = 1000000;
    const wchar_t* source = L"C:\\Program Files\\Orvane\\Aurora Hall\\Plugins\\Input\\in_media.dll";
    const OvString library(source);
    const std::wstring baseline(source);
    const double a = Time([&] {
        for (int i = 0; i < kCopies; ++i) {
            OvString copy(library);
            Consume(copy.Length());
        }
    });
    const double b = Time([&] {
        for (int i = 0; i < kCopies; ++i) {
            std::wstring copy(baseline);
            Consume(copy.size());
        }
    });
    Report("copy a 64-character string 10^6 times", a, b, true);
}

// --- compare ignoring case --------------------------------------------------------------------

int BaselineCompareNoCase(const std::wstring& a, const std::wstring& b)
{
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const int d = static_cast<int>(towlower(a[i])) - static_cast<int>(towlower(b[i]));
        if (d) return d;
    }
    return static_cast<int>(a.size() > b.size()) - static_cast<int>(a.size() < b.size());
}

// The same loop folding through a table built once, as a fast hand-written version would.
int TableCompareNoCase(const std::wstring& a, const std::wstring& b)
{
    static const std::vector<wchar_t> table = [] {
        std::vector<wchar_t> t(65536);
        for (int c = 0; c < 65536; ++c) t[c] = static_cast<wchar_t>(towlower(static_cast<wchar_t>(c)));
        return t;
    }();
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const int d = static_cast<int>(table[a[i]]) - static_cast<int>(table[b[i]]);
        if (d) return d;
    }
    return static_cast<int>(a.size() > b.size()) - static_cast<int>(a.size() < b.size());
}

void BenchCompare()
{
    constexpr int kCompares = 200000;
    std::wstring lower = MakeText(200);
    std::wstring upper = lower;
    for (wchar_t& c : upper) c = static_cast<wchar_t>(towupper(c));
    std::vector<OvString> libraryPairs = {OvString(lower.c_str()), OvString(upper.c_str())};
    long libraryEqual = 0, baselineEqual = 0;
    const double a = Time([&] {
        libraryEqual = 0;
        for (int i = 0; i < kCompares; ++i)
            libraryEqual += CompareNoCase(libraryPairs[i & 1], libraryPairs[(i + 1) & 1]) == 0;
    });
    const std::wstring pairs[] = {lower, upper};
    const double b = Time([&] {
        baselineEqual = 0;
        for (int i = 0; i < kCompares; ++i) baselineEqual += BaselineCompareNoCase(pairs[i & 1], pairs[(i + 1) & 1]) == 0;
    });
    Report("compare 200 characters ignoring case x2e5", a, b, libraryEqual == baselineEqual && libraryEqual == kCompares);
    long tableEqual = 0;
    TableCompareNoCase(pairs[0], pairs[1]);   // builds the table outside the timing
    const double c = Time([&] {
        tableEqual = 0;
        for (int i = 0; i < kCompares; ++i) tableEqual += TableCompareNoCase(pairs[i & 1], pairs[(i + 1) & 1]) == 0;
    });
    Report("  same, baseline folding through a table", a, c, tableEqual == libraryEqual);
}

// --- replace ----------------------------------------------------------------------------------

std::wstring BaselineReplace(const std::wstring& text, const std::vector<std::wstring>& patterns,
                             const std::vector<std::wstring>& replacements, int& hits)
{
    std::wstring result;
    std::vector<size_t> next(patterns.size(), 0);
    std::vector<bool> searched(patterns.size(), false);
    size_t position = 0;
    hits = 0;
    for (;;) {
        size_t best = std::wstring::npos, bestAt = std::wstring::npos;
        for (size_t i = 0; i < patterns.size(); ++i) {
            if (!searched[i] || (next[i] != std::wstring::npos && next[i] < position)) {
                next[i] = text.find(patterns[i], position);
                searched[i] = true;
            }
            if (next[i] < bestAt) {
                bestAt = next[i];
                best = i;
            }
        }
        if (best == std::wstring::npos) break;
        result.append(text, position, bestAt - position);
        result += replacements[best];
        position = bestAt + patterns[best].size();
        ++hits;
    }
    result.append(text, position, std::wstring::npos);
    return result;
}

void BenchReplace(const std::wstring& text)
{
    const std::vector<std::wstring> patterns = {L"alpha", L"Beta", L"folder", L"path"};
    const std::vector<std::wstring> replacements = {L"omega", L"B", L"directory", L"route"};
    const wchar_t* patternTexts[] = {patterns[0].c_str(), patterns[1].c_str(), patterns[2].c_str(), patterns[3].c_str()};
    const wchar_t* replacementTexts[] = {replacements[0].c_str(), replacements[1].c_str(), replacements[2].c_str(),
                                         replacements[3].c_str()};
    const OvString source(text.c_str());
    OvString libraryResult;
    int libraryHits = 0, baselineHits = 0;
    std::wstring baselineResult;
    const double a = Time([&] {
        libraryResult = source;
        libraryHits = libraryResult.Replace(patternTexts, replacementTexts, 4);
    });
    const double b = Time([&] { baselineResult = BaselineReplace(text, patterns, replacements, baselineHits); });
    Report("replace 4 patterns in 1 MB of text", a, b,
           libraryHits == baselineHits && libraryHits > 0 && baselineResult == libraryResult.c_str());
}

// --- split ------------------------------------------------------------------------------------

std::vector<std::wstring> BaselineSplit(const std::wstring& text, const std::wstring& separator)
{
    std::vector<std::wstring> items;
    size_t start = 0;
    for (size_t at = text.find(separator); at != std::wstring::npos; at = text.find(separator, start)) {
        items.push_back(text.substr(start, at - start));
        start = at + separator.size();
    }
    if (start < text.size()) items.push_back(text.substr(start));
    return items;
}

void BenchSplit(const char* name, const std::wstring& text, const wchar_t* separator)
{
    OvStringArray libraryItems;
    std::vector<std::wstring> baselineItems;
    const double a = Time([&] { libraryItems.Split(text.c_str(), separator); });
    const double b = Time([&] { baselineItems = BaselineSplit(text, separator); });
    bool same = libraryItems.GetCount() == static_cast<int>(baselineItems.size());
    for (int i = 0; same && i < libraryItems.GetCount(); ++i) same = baselineItems[i] == libraryItems[i].c_str();
    Report(name, a, b, same);
}

// The text with a line break after about every 60 characters.
std::wstring MakeLines(const std::wstring& text)
{
    std::wstring lines;
    lines.reserve(text.size() + text.size() / 30);
    for (size_t i = 0; i < text.size(); i += 60) {
        lines.append(text, i, 60);
        lines += L"\r\n";
    }
    return lines;
}

// --- format -----------------------------------------------------------------------------------

void BenchFormat()
{
    constexpr int kFormats = 100000;
    const OvString folder(L"C:\\Program Files\\Orvane");
    const std::wstring baselineFolder(folder.c_str());
    size_t libraryLength = 0, baselineLength = 0;
    OvString libraryLast;
    std::wstring baselineLast;
    const double a = Time([&] {
        libraryLength = 0;
        for (int i = 0; i < kFormats; ++i) {
            libraryLast = OvFormat(L"%s: copied %d of %d files (%.2f MB) into %s, code %08X", L"Install", i, kFormats,
                                   i * 0.25, folder, static_cast<unsigned>(i * 2654435761u));
            libraryLength += libraryLast.Length();
        }
    });
    const double b = Time([&] {
        baselineLength = 0;
        wchar_t buffer[256];
        for (int i = 0; i < kFormats; ++i) {
            swprintf(buffer, 256, L"%ls: copied %d of %d files (%.2f MB) into %ls, code %08X", L"Install", i, kFormats,
                     i * 0.25, baselineFolder.c_str(), static_cast<unsigned>(i * 2654435761u));
            baselineLast = buffer;
            baselineLength += baselineLast.size();
        }
    });
    Report("format text, integers, a double, hex x1e5", a, b,
           libraryLength == baselineLength && baselineLast == libraryLast.c_str());
}

}  // namespace

int main()
{
    const std::wstring text = MakeText(512 * 1024);   // 512 Ki UTF-16 code units: 1 MB
    printf("%-44s %13s %13s %9s\n", "operation", "OvString", "std::wstring", "ratio");
    BenchCopy();
    BenchCompare();
    BenchReplace(text);
    BenchSplit("split 1 MB of text at blanks (words)", text, L" ");
    BenchSplit("split 1 MB of text at line breaks (lines)", MakeLines(text), L"\r\n");
    BenchFormat();
    return allCorrect ? 0 : 1;
}
