// Parses one generated document of about 20 MB with OvXmlDocument and, as the baseline, with the
// system's XML parser (MSXML through COM), and prints the throughput of both and their ratio.
// Usage: OvXmlBenchmark [megabytes] [runs]

#include "OvStringEncoding.h"
#include "OvXmlDocument.h"

#include <windows.h>
#include <msxml2.h>
#include <oleauto.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// A package catalogue: attributes, text with references, comments, CDATA and some nesting.
std::wstring MakeDocument(size_t characters)
{
    std::wstring text = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Catalogue version=\"1\">\r\n";
    text.reserve(characters + 4096);
    wchar_t piece[1024];
    for (unsigned n = 0; text.size() < characters; ++n) {
        swprintf(piece, 1024,
                 L"  <Package id=\"%u\" name=\"Package %u\" kind='%ls'>\r\n"
                 L"    <Description>Files &amp; settings for package %u; size &lt; %u KB</Description>\r\n"
                 L"    <Actions>\r\n"
                 L"      <Action type=\"copy\" source=\"Files\\%u\\Data.bin\" target=\"{app}\\Data %u.bin\"/>\r\n"
                 L"      <Action type=\"register\" file=\"Module%u.dll\">Register &#x263A; module</Action>\r\n"
                 L"      <Action type=\"run\"><![CDATA[cmd /c echo <done> & exit %u]]></Action>\r\n"
                 L"    </Actions>\r\n"
                 L"%ls"
                 L"  </Package>\r\n",
                 n, n, n % 3 ? L"plug-in" : L"skin", n, n * 7 % 1000, n, n, n, n,
                 n % 5 ? L"" : L"    <!-- reviewed; see notes -->\r\n");
        text += piece;
    }
    text += L"</Catalogue>\r\n";
    return text;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Best time of OvXmlDocument over runs: from the text in memory, or from the file when path is set.
double BestOfOvXml(const OvString& text, const wchar_t* path, int runs, int& elements, bool& wellFormed)
{
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        OvXmlDocument doc(path ? OvString() : text);
        if (path) doc.LoadFile(path);
        QueryPerformanceCounter(&end);
        elements = doc.GetElementCount() - 1;
        wellFormed = doc.IsWellFormed();
        const double s = Seconds(start, end);
        if (s < best) best = s;
    }
    return best;
}

// Best time of MSXML over fresh documents, from the text in memory (loadXML) or from the file
// (load) when path is set; negative when the parser is not available or fails.
double BestOfMsxml(const std::wstring& text, const wchar_t* path, int runs, const wchar_t*& progId, long& elements)
{
    static const wchar_t* const ids[] = {L"Msxml2.DOMDocument.6.0", L"Msxml2.DOMDocument.3.0"};
    CLSID clsid;
    progId = nullptr;
    for (const wchar_t* id : ids) {
        if (SUCCEEDED(CLSIDFromProgID(id, &clsid))) {
            progId = id;
            break;
        }
    }
    if (!progId) return -1;
    BSTR source = SysAllocStringLen(text.c_str(), static_cast<UINT>(text.size()));
    VARIANT file;
    VariantInit(&file);
    if (path) {
        file.vt = VT_BSTR;
        file.bstrVal = SysAllocString(path);
    }
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        IXMLDOMDocument* doc = nullptr;
        if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                                    reinterpret_cast<void**>(&doc)))) {
            best = -1;
            break;
        }
        doc->put_async(VARIANT_FALSE);
        doc->put_validateOnParse(VARIANT_FALSE);
        doc->put_resolveExternals(VARIANT_FALSE);
        VARIANT_BOOL ok = VARIANT_FALSE;
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        HRESULT hr = path ? doc->load(file, &ok) : doc->loadXML(source, &ok);
        QueryPerformanceCounter(&end);
        if (FAILED(hr) || ok != VARIANT_TRUE) {
            doc->Release();
            best = -1;
            break;
        }
        if (i == 0) {
            // Outside the timing: the element count, to see that both read the same document.
            IXMLDOMNodeList* all = nullptr;
            BSTR star = SysAllocString(L"*");
            elements = -1;
            if (SUCCEEDED(doc->getElementsByTagName(star, &all)) && all) {
                all->get_length(&elements);
                all->Release();
            }
            SysFreeString(star);
        }
        doc->Release();
        const double s = Seconds(start, end);
        if (s < best) best = s;
    }
    VariantClear(&file);
    SysFreeString(source);
    return best;
}

}  // namespace

int main(int argc, char** argv)
{
    const double megabytes = argc > 1 ? atof(argv[1]) : 20.0;
    const int runs = argc > 2 ? atoi(argv[2]) : 5;
    const std::wstring text = MakeDocument(static_cast<size_t>(megabytes * 1024 * 1024));
    // The document is ASCII: its UTF-8 size in bytes equals its length in characters.
    const double mb = static_cast<double>(text.size()) / (1024.0 * 1024.0);
    const OvString document(text.c_str(), static_cast<int>(text.size()));
    printf("Document: %.1f MB (%u characters)\n", mb, static_cast<unsigned>(text.size()));

    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"OvXmlBenchmark.xml";
    if (!SaveTextFile(path.c_str(), document, kOvEncodingUtf8)) {
        printf("Cannot write %ls\n", path.c_str());
        return 1;
    }

    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int status = 0;
    for (const wchar_t* from : {static_cast<const wchar_t*>(nullptr), path.c_str()}) {
        const char* source = from ? "UTF-8 file" : "text in memory";
        int elements = 0;
        bool wellFormed = false;
        const double ours = BestOfOvXml(document, from, runs, elements, wellFormed);
        printf("OvXmlDocument (%s): %d elements, %s; best of %d runs %.3f s, %.1f MB/s\n", source, elements,
               wellFormed ? "well formed" : "NOT well formed", runs, ours, mb / ours);
        const wchar_t* progId = nullptr;
        long msxmlElements = 0;
        const double baseline = BestOfMsxml(text, from, runs, progId, msxmlElements);
        if (baseline < 0) {
            printf("MSXML (%s): not available or failed (%ls)\n", source, progId ? progId : L"no DOMDocument class");
            status = 1;
            continue;
        }
        printf("MSXML (%ls, %s, %s): %ld elements; best of %d runs %.3f s, %.1f MB/s\n", progId,
               from ? "load" : "loadXML", source, msxmlElements, runs, baseline, mb / baseline);
        printf("Ratio (%s): OvXmlDocument is %.2f times as fast as MSXML\n\n", source, baseline / ours);
    }
    CoUninitialize();
    DeleteFileW(path.c_str());
    return status;
}
