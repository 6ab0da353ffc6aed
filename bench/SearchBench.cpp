// How fast the viewer's search runs under Windows, through the real document and its file.
//
//   oktalon_search_bench scan FILE RUNS LABEL:MODE:HEX...
//     Opens FILE into a CScrollDoc. For each pattern (MODE hex or text, the bytes in HEX) it
//     gives the Find command, answers the Find dialog as a person would (the hex box, or the
//     text box in text mode), then gives Find Next RUNS times and times each command from its
//     start until the "not found" box appears (or, should the pattern occur, until the command
//     returns), in elapsed and in processor (user + system) seconds of the thread. Prints for
//     each run
//       scan wine LABEL WALL CPU BYTES RESULT
//     with the bytes searched and the match (-1: the "not found" box came); and after each run
//     the same command over the file's last two lines only, its cost besides the scan:
//       scan wine-fixed LABEL WALL CPU 32 RESULT
//
//     Then, for each pattern, the same scan RUNS times without the document's Find Next around it
//     (no progress checks, no progress window, no message handling), straight over the file:
//       scan wine-plain LABEL WALL CPU BYTES RESULT
//
//   oktalon_search_bench bytewise FILE SECONDS LABEL:HEX
//     The byte-at-a-time way of searching, for reference: for each candidate offset one length
//     query, one seek and one read of the pattern's length through CFile. Runs until a match,
//     the end, or SECONDS, and prints
//       bytewise wine LABEL WALL CPU POSITIONS FILELENGTH RESULT

#include "Clock.h"
#include "ParseHex.h"
#include "doc/PatternScan.h"
#include "doc/ScrollDoc.h"
#include "framework/core/File.h"
#include "res/resource.h"
#include "tests/e2e/Driver.h"
#include "tests/win/TestSupport.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

// Processor time (user + kernel) of the calling thread, in seconds.
double ThreadCpu() {
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user))
        return 0;
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;
}

// Message boxes of this thread: the moment the "not found" box is created after Arm(), and every
// box answered with OK.
class BoxCatcher {
public:
    BoxCatcher() { s_hook = SetWindowsHookExW(WH_CBT, &BoxCatcher::Hook, nullptr, GetCurrentThreadId()); }
    ~BoxCatcher() { UnhookWindowsHookEx(s_hook); }
    BoxCatcher(const BoxCatcher&) = delete;
    BoxCatcher& operator=(const BoxCatcher&) = delete;

    void Arm() {
        s_created = 0;
        s_text.clear();
        s_armed = true;
    }
    void Disarm() { s_armed = false; }
    double CreatedAt() const { return s_created; }
    double CreatedAtCpu() const { return s_createdCpu; }
    const std::wstring& Text() const { return s_text; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        // The "not found" box, by its caption (a long search also makes its progress window).
        const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
        if (code == HCBT_CREATEWND && s_armed && s_created == 0 && create->lpcs->lpszName != nullptr &&
            !IS_INTRESOURCE(create->lpcs->lpszName) && lstrcmpW(create->lpcs->lpszName, L"Informace") == 0) {
            s_created = NowSeconds();
            s_createdCpu = ThreadCpu();
        }
        if (code == HCBT_ACTIVATE) {
            const HWND window = reinterpret_cast<HWND>(wParam);
            wchar_t className[16] = L"";
            GetClassNameW(window, className, 16);
            // A message box is a dialog whose text is a static control of id 0xFFFF.
            if (lstrcmpW(className, L"#32770") == 0 && GetDlgItem(window, 0xFFFF) != nullptr) {
                wchar_t text[256] = L"";
                GetDlgItemTextW(window, 0xFFFF, text, 256);
                if (s_armed)
                    s_text = text;
                PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            }
        }
        return CallNextHookEx(s_hook, code, wParam, lParam);
    }

    static inline HHOOK s_hook = nullptr;
    static inline bool s_armed = false;
    static inline double s_created = 0;
    static inline double s_createdCpu = 0;
    static inline std::wstring s_text;
};

void Click(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

struct Pattern {
    std::wstring label;
    bool textMode = false;
    std::vector<BYTE> bytes;
};

// Gives the Find command and answers its dialog with the pattern.
bool SetPatternThroughFind(CScrollDoc& doc, const Pattern& pattern) {
    std::wstring typed;
    if (pattern.textMode) {
        // The dialog turns the text into bytes of the system's code page; this is the way back.
        const int length = MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(pattern.bytes.data()),
                                               static_cast<int>(pattern.bytes.size()), nullptr, 0);
        typed.resize(static_cast<size_t>(length));
        MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(pattern.bytes.data()),
                            static_cast<int>(pattern.bytes.size()), typed.data(), length);
    } else {
        static const wchar_t kDigits[] = L"0123456789ABCDEF";
        for (const BYTE b : pattern.bytes) {
            typed += kDigits[b >> 4];
            typed += kDigits[b & 15];
        }
    }
    WhenWindowAppears answer(L"Hledat", [&](HWND dialog) {
        if (pattern.textMode) {
            SendMessageW(GetDlgItem(dialog, IDC_MODE_TEXT), BM_CLICK, 0, 0);
            SetDlgItemTextW(dialog, IDC_PLAIN_TEXT, typed.c_str());
        } else {
            SetDlgItemTextW(dialog, IDC_HEX_TEXT, typed.c_str());
        }
        Click(dialog, IDOK);
    });
    doc.OnCmdMsg(ID_SEARCH_FIND, CN_COMMAND, nullptr, nullptr);
    return answer.Appeared();
}

int Scan(const std::wstring& path, int runs, const std::vector<Pattern>& patterns) {
    CScrollDoc doc;
    if (!doc.OnOpenDocument(path.c_str())) {
        std::fprintf(stderr, "cannot open %ls\n", path.c_str());
        return 1;
    }
    const long long length = doc.GetFileLength();
    BoxCatcher boxes;
    for (const Pattern& pattern : patterns) {
        // The first scan, started by the Find dialog, also brings the file into the cache.
        if (!SetPatternThroughFind(doc, pattern)) {
            std::fprintf(stderr, "the Find dialog did not appear\n");
            return 1;
        }
        // Find Next over the whole file, then over its last two lines only: what the command costs
        // besides its scan (routing, the window's update, the "not found" box).
        for (int run = 0; run < runs; ++run) {
            for (const bool whole : {true, false}) {
                if (!whole)
                    doc.SetMarkedLine((length + 15) / 16 - 1);
                boxes.Arm();
                const double cpuStart = ThreadCpu();
                const double start = NowSeconds();
                doc.OnCmdMsg(ID_SEARCH_FIND_NEXT, CN_COMMAND, nullptr, nullptr);
                const bool boxCame = boxes.CreatedAt() != 0;
                const double end = boxCame ? boxes.CreatedAt() : NowSeconds();
                const double cpuEnd = boxCame ? boxes.CreatedAtCpu() : ThreadCpu();
                boxes.Disarm();
                const long long result = boxes.Text() == L"Nenalezeno!" ? -1 : doc.GetSearchPos() - 1LL;
                std::printf("scan %s %s %.6f %.6f %lld %lld\n", whole ? "wine" : "wine-fixed",
                            e2e::Narrow(pattern.label).c_str(), end - start, cpuEnd - cpuStart, whole ? length : 32,
                            result);
                std::fflush(stdout);
            }
        }
    }
    return 0;
}

// The file as the scan reads it, with nothing around: a seek and a read a block.
class PlainFileReader : public IPositionedReader {
public:
    explicit PlainFileReader(CFile& file) : m_file(file), m_length(static_cast<int64_t>(file.GetLength())) {}
    int64_t Length() override { return m_length; }
    size_t ReadAt(int64_t offset, void* buffer, size_t count) override {
        m_file.Seek(offset, CFile::begin);
        return m_file.Read(buffer,
                           static_cast<UINT>(std::min<int64_t>(static_cast<int64_t>(count), m_length - offset)));
    }

private:
    CFile& m_file;
    int64_t m_length;
};

int PlainScan(const std::wstring& path, int runs, const std::vector<Pattern>& patterns) {
    CFile file;
    if (!file.Open(path.c_str(), CFile::modeRead | CFile::shareDenyNone)) {
        std::fprintf(stderr, "cannot open %ls\n", path.c_str());
        return 1;
    }
    PlainFileReader reader(file);
    for (const Pattern& pattern : patterns) {
        for (int run = 0; run < runs; ++run) {
            const double cpuStart = ThreadCpu();
            const double start = NowSeconds();
            const std::optional<int64_t> found = FindPattern(reader, pattern.bytes, 0);
            const double end = NowSeconds();
            std::printf("scan wine-plain %s %.6f %.6f %lld %lld\n", e2e::Narrow(pattern.label).c_str(), end - start,
                        ThreadCpu() - cpuStart, static_cast<long long>(reader.Length()),
                        static_cast<long long>(found.value_or(-1)));
            std::fflush(stdout);
        }
    }
    return 0;
}

int Bytewise(const std::wstring& path, double budget, const Pattern& pattern) {
    CFile file;
    if (!file.Open(path.c_str(), CFile::modeRead | CFile::shareDenyNone)) {
        std::fprintf(stderr, "cannot open %ls\n", path.c_str());
        return 1;
    }
    const ULONGLONG length = pattern.bytes.size();
    std::vector<BYTE> buffer(pattern.bytes.size());
    long long result = -1;
    unsigned long long positions = 0;
    const double cpuStart = ThreadCpu();
    const double start = NowSeconds();
    for (ULONGLONG offset = 0;; ++offset) {
        if (offset + length > file.GetLength())
            break;
        file.Seek(static_cast<LONGLONG>(offset), CFile::begin);
        const UINT got = file.Read(buffer.data(), static_cast<UINT>(length));
        ++positions;
        if (got == length && std::memcmp(buffer.data(), pattern.bytes.data(), length) == 0) {
            result = static_cast<long long>(offset);
            break;
        }
        if (positions % 4096 == 0 && NowSeconds() - start > budget)
            break;
    }
    const double elapsed = NowSeconds() - start;
    const double cpu = ThreadCpu() - cpuStart;
    std::printf("bytewise wine %s %.6f %.6f %llu %llu %lld\n", e2e::Narrow(pattern.label).c_str(), elapsed, cpu,
                positions, static_cast<unsigned long long>(file.GetLength()), result);
    std::fflush(stdout);
    return 0;
}

// LABEL:MODE:HEX (scan) or LABEL:HEX (bytewise, hex mode).
bool ParsePattern(const std::wstring& argument, Pattern& pattern) {
    const size_t first = argument.find(L':');
    if (first == std::wstring::npos)
        return false;
    pattern.label = argument.substr(0, first);
    std::wstring rest = argument.substr(first + 1);
    const size_t second = rest.find(L':');
    if (second != std::wstring::npos) {
        const std::wstring mode = rest.substr(0, second);
        if (mode != L"hex" && mode != L"text")
            return false;
        pattern.textMode = mode == L"text";
        rest = rest.substr(second + 1);
    }
    return ParseHex(rest, pattern.bytes);
}

int Usage() {
    std::fprintf(stderr, "usage: oktalon_search_bench scan FILE RUNS LABEL:MODE:HEX...\n"
                         "       oktalon_search_bench bytewise FILE SECONDS LABEL:HEX\n");
    return 2;
}

}  // namespace

int main() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr || argc < 5)
        return Usage();
    const std::wstring command = argv[1];
    const std::wstring path = argv[2];
    std::vector<Pattern> patterns;
    for (int i = 4; i < argc; ++i) {
        Pattern pattern;
        if (!ParsePattern(argv[i], pattern))
            return Usage();
        patterns.push_back(std::move(pattern));
    }
    if (command == L"scan") {
        const int runs = std::max(1, _wtoi(argv[3]));
        const int status = Scan(path, runs, patterns);
        return status != 0 ? status : PlainScan(path, runs, patterns);
    }
    if (command == L"bytewise" && patterns.size() == 1)
        return Bytewise(path, _wtof(argv[3]), patterns[0]);
    return Usage();
}
