// Seeded fuzzing of the readers of stored property texts: token streams and tagged XML texts,
// random and mutated from valid ones.

#include "OvPropertyMap.h"
#include "OvPropertyMapTestSupport.h"
#include "OvStoredFormats.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <iterator>
#include <random>
#include <string>

namespace {

// A page of text between two pages that may not be touched: an input placed at the start or the
// end of the middle page faults on any read outside it.
class GuardedText {
public:
    static constexpr int kUnits = 2048;

    GuardedText()
    {
        base_ = static_cast<char*>(VirtualAlloc(nullptr, 3 * kPage, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old;
        if (base_) {
            VirtualProtect(base_, kPage, PAGE_NOACCESS, &old);
            VirtualProtect(base_ + 2 * kPage, kPage, PAGE_NOACCESS, &old);
        }
    }
    ~GuardedText()
    {
        if (base_) VirtualFree(base_, 0, MEM_RELEASE);
    }
    bool IsReady() const { return base_ != nullptr; }

    // The text copied against the end (or the start) of the middle page.
    const wchar_t* Place(const std::wstring& text, bool atEnd)
    {
        wchar_t* page = reinterpret_cast<wchar_t*>(base_ + kPage);
        wchar_t* start = atEnd ? page + kUnits - text.size() : page;
        wmemcpy(start, text.data(), text.size());
        return start;
    }

private:
    static constexpr int kPage = 4096;
    char* base_ = nullptr;
};

// A fault ends the test process at once with a message, instead of waiting for a debugger.
LONG WINAPI ReportFault(EXCEPTION_POINTERS* info)
{
    fprintf(stderr, "Fault %08lX at %p reading %p\n", info->ExceptionRecord->ExceptionCode,
            info->ExceptionRecord->ExceptionAddress,
            info->ExceptionRecord->NumberParameters > 1
                ? reinterpret_cast<void*>(info->ExceptionRecord->ExceptionInformation[1])
                : nullptr);
    fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

std::wstring RandomText(std::mt19937& random, int maxLength, const wchar_t* alphabet = L"():0123456789ab\u00E9\u4E2D ")
{
    const int length = std::uniform_int_distribution<int>(0, maxLength)(random);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(wcslen(alphabet)) - 1);
    std::wstring text;
    for (int i = 0; i < length; ++i) text += alphabet[pick(random)];
    return text;
}

std::wstring Mutate(std::wstring text, std::mt19937& random)
{
    static const wchar_t kSpecial[] = L"():09-9x";
    const int edits = std::uniform_int_distribution<int>(1, 4)(random);
    for (int e = 0; e < edits; ++e) {
        const int size = static_cast<int>(text.size());
        const int at = std::uniform_int_distribution<int>(0, size)(random);
        const wchar_t c = kSpecial[std::uniform_int_distribution<int>(0, 7)(random)];
        switch (std::uniform_int_distribution<int>(0, 4)(random)) {
        case 0: if (at < size) text[at] = c; break;
        case 1: text.insert(text.begin() + at, c); break;
        case 2: if (at < size) text.erase(at, 1); break;
        case 3: text.resize(at); break;
        default: {
            const int from = std::uniform_int_distribution<int>(0, size)(random);
            text.insert(at, text.substr(from, 12));
            break;
        }
        }
    }
    return text;
}

TEST(OvPropertyMapFuzz, DeserializeAtStaysInsideRandomAndMutatedInput)
{
    SetUnhandledExceptionFilter(ReportFault);
    GuardedText guarded;
    ASSERT_TRUE(guarded.IsReady());
    std::mt19937 random(20240611);
    const auto started = std::chrono::steady_clock::now();
    int readBack = 0;
    for (int round = 0; round < 6000; ++round) {
        // A valid stream of a random map, then, mostly, a mutated copy of it.
        OvPropertyMap source;
        const int items = std::uniform_int_distribution<int>(0, 20)(random);
        for (int i = 0; i < items; ++i)
            source.SetString(RandomText(random, 6).c_str(), RandomText(random, 12).c_str());
        std::wstring text = Serialized(source).c_str();
        const int kind = round % 4;
        if (kind == 1 || kind == 2) text = Mutate(text, random);
        if (kind == 3) text = RandomText(random, 60);
        if (text.size() > static_cast<size_t>(GuardedText::kUnits)) text.resize(GuardedText::kUnits);
        const int length = static_cast<int>(text.size());

        for (bool atEnd : {true, false}) {
            const wchar_t* placed = guarded.Place(text, atEnd);
            int position = 0;
            OvPropertyMap map;
            map.DeserializeAt(placed, position, length);
            ASSERT_GE(position, 0);
            ASSERT_LE(position, length);
            if (kind == 0) {
                ASSERT_TRUE(map.IsEqual(source)) << round;
                ASSERT_EQ(position, length);
            }
            // Whatever was read has a token form that reads back the same.
            OvPropertyMap again;
            again.Deserialize(Serialized(map));
            ASSERT_TRUE(again.IsEqual(map)) << round;
            readBack += map.GetCount() > 0;

            // A start inside the text, or outside it.
            const int start = std::uniform_int_distribution<int>(-2, length + 2)(random);
            position = start;
            map.DeserializeAt(placed, position, length);
            if (start < 0 || start > length) {
                ASSERT_EQ(position, start);
                ASSERT_TRUE(map.IsEmpty());
            } else {
                ASSERT_GE(position, start);
                ASSERT_LE(position, length);
            }
        }
    }
    EXPECT_GT(readBack, 1000);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
}

// Characters that matter to the XML texts, and some that do not.
const wchar_t kXmlAlphabet[] = L"<>&\"';#x/=ab \r\n\t\u00E9\u0001]";

std::wstring MutateXml(std::wstring text, std::mt19937& random)
{
    static const wchar_t kSpecial[] = L"<>/\"'=&;#![]-?x \r\nItemXMLPH";
    const int edits = std::uniform_int_distribution<int>(1, 4)(random);
    for (int e = 0; e < edits; ++e) {
        const int size = static_cast<int>(text.size());
        const int at = std::uniform_int_distribution<int>(0, size)(random);
        const wchar_t c = kSpecial[std::uniform_int_distribution<int>(0, static_cast<int>(std::size(kSpecial)) - 2)(random)];
        switch (std::uniform_int_distribution<int>(0, 4)(random)) {
        case 0: if (at < size) text[at] = c; break;
        case 1: text.insert(text.begin() + at, c); break;
        case 2: if (at < size) text.erase(at, std::uniform_int_distribution<int>(1, 8)(random)); break;
        case 3: text.resize(at); break;
        default: {
            const int from = std::uniform_int_distribution<int>(0, size)(random);
            text.insert(at, text.substr(from, std::uniform_int_distribution<int>(1, 30)(random)));
            break;
        }
        }
    }
    return text;
}

TEST(OvStoredFormatsFuzz, LoadXmlAndUnpackingSurviveRandomAndMutatedTexts)
{
    SetUnhandledExceptionFilter(ReportFault);
    std::mt19937 random(61103);
    const auto started = std::chrono::steady_clock::now();
    int loaded = 0, rejected = 0;
    for (int round = 0; round < 4000; ++round) {
        OvPropertyMap source;
        const int items = std::uniform_int_distribution<int>(0, 8)(random);
        for (int i = 0; i < items; ++i)
            source.SetString(RandomText(random, 6, kXmlAlphabet).c_str(), RandomText(random, 10, kXmlAlphabet).c_str());
        // Tagged property texts and tagged file names, a third of them intact.
        const bool fileName = round % 2 == 0;
        const bool intact = round % 3 == 0;
        OvString saved;
        source.SaveXML(saved, fileName ? L"XMLFN" : L"XMLPH", false, 1.0);
        std::wstring text = saved.c_str();
        if (!intact) text = MutateXml(text, random);

        OvPropertyMap map;
        const bool read = map.LoadXML(text.c_str(), L"XMLPH", 1.0);
        if (intact && !fileName) {
            ASSERT_TRUE(read) << round;
            ASSERT_TRUE(map.IsEqual(source)) << round;
        }
        if (read) {
            ++loaded;
            OvString again;
            map.SaveXML(again, L"XMLPH", false, 1.0);
            OvPropertyMap back;
            ASSERT_TRUE(back.LoadXML(again, L"XMLPH", 1.0)) << round;
            ASSERT_TRUE(back.IsEqual(map)) << round;
        } else {
            ++rejected;
            ASSERT_EQ(map.GetTable(), nullptr) << round;
        }

        OvPropertyMap properties;
        const OvString path = UnpackLocationText(text.c_str(), properties, true);
        if (intact && fileName) {
            ASSERT_EQ(path, L"") << round;
            ASSERT_TRUE(properties.IsEqual(source)) << round;
        } else if (!IsTaggedFileName(text.c_str()) && !properties.IsEmpty()) {
            ASSERT_EQ(properties.GetCount(), 1);
            ASSERT_TRUE(properties.Exists(kOvPostExtensionData));
        }
    }
    EXPECT_GT(loaded, 800);
    EXPECT_GT(rejected, 800);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
}

}  // namespace
