// TempFile: making, checking and deleting the tests' files; their fingerprints.
#include "tests/e2e/TempFile.h"

#include "framework/core/UniqueHandle.h"

#include <winioctl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <stdexcept>

namespace {
// Files still held when their test ended (by a document the test fixture outlives), deleted
// when the test program ends.
class PendingDeletes {
public:
    ~PendingDeletes() {
        for (const std::wstring& path : m_paths)
            DeleteFileW(path.c_str());
    }
    void Add(const std::wstring& path) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_paths.push_back(path);
    }

private:
    std::mutex m_mutex;
    std::vector<std::wstring> m_paths;
};

void DeleteWhenFree(const std::wstring& path) {
    static PendingDeletes pending;
    pending.Add(path);
}

}  // namespace

std::wstring ForSystem(const std::wstring& fullPath) {
    const bool prefixed = fullPath.rfind(L"\\\\?\\", 0) == 0 || fullPath.rfind(L"\\\\.\\", 0) == 0;
    if (prefixed || fullPath.size() < MAX_PATH)
        return fullPath;
    if (fullPath.rfind(L"\\\\", 0) == 0)
        return L"\\\\?\\UNC\\" + fullPath.substr(2);
    return L"\\\\?\\" + fullPath;
}

namespace {
// A new, empty file at that full name, open for writing.
UniqueHandle CreateForWriting(const std::wstring& fullPath) {
    UniqueHandle file(CreateFileW(ForSystem(fullPath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw std::runtime_error("cannot create a temporary file");
    return file;
}
}  // namespace

std::wstring TempFolder() {
    wchar_t folder[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, folder);
    return folder;
}

std::wstring UniqueTempPath(const wchar_t* nameHint) {
    static std::atomic<unsigned> counter{0};
    return TempFolder() + nameHint + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(counter++) +
           L".bin";
}

TempFile::TempFile(const std::string& bytes, const wchar_t* nameHint) : TempFile(At(UniqueTempPath(nameHint), bytes)) {}

TempFile TempFile::At(const std::wstring& fullPath, const std::string& bytes) {
    TempFile result;
    result.m_path = fullPath;
    UniqueHandle file = CreateForWriting(fullPath);
    DWORD written = 0;
    if (!bytes.empty() && !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        throw std::runtime_error("cannot write a temporary file");
    file.reset();
    result.m_fingerprint = TakeFingerprint(fullPath);
    return result;
}

TempFile TempFile::Sparse(uint64_t length, const wchar_t* nameHint) {
    return Sparse(length, {}, nameHint);
}

TempFile TempFile::Sparse(uint64_t length, const FilePatches& patches, const wchar_t* nameHint) {
    return SparseAt(UniqueTempPath(nameHint), length, patches);
}

TempFile TempFile::SparseAt(const std::wstring& fullPath, uint64_t length, const FilePatches& patches) {
    TempFile result;
    result.m_path = fullPath;
    UniqueHandle file = CreateForWriting(fullPath);
    DWORD returned = 0;
    DeviceIoControl(file.get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(length);
    if (!SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) || !SetEndOfFile(file.get()))
        throw std::runtime_error("cannot size a temporary file");
    for (const auto& [offset, bytes] : patches) {
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(offset);
        DWORD written = 0;
        if (offset + bytes.size() > length || !SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN) ||
            !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
            throw std::runtime_error("cannot write into a temporary file");
    }
    file.reset();
    result.m_fingerprint = TakeFingerprint(fullPath);
    return result;
}

TempFile::~TempFile() {
    if (m_path.empty())
        return;
    const FileFingerprint now = TakeFingerprint(m_path);
    EXPECT_TRUE(now.Matches(m_fingerprint))
        << "the file was changed or removed while the test used it (size " << m_fingerprint.size << " -> " << now.size
        << ", exists " << now.exists << ")";
    if (!DeleteFileW(ForSystem(m_path).c_str()))
        DeleteWhenFree(ForSystem(m_path));
}

bool TempFile::Delete() {
    const bool deleted = DeleteFileW(ForSystem(m_path).c_str()) != FALSE;
    if (deleted)
        m_path.clear();
    return deleted;
}

FileFingerprint TakeFingerprint(const std::wstring& path) {
    FileFingerprint print;
    // Size and time come from the directory, which answers even while the viewer holds the
    // file exclusively; the contents can be hashed only when it does not.
    const std::wstring name = ForSystem(path);
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &attributes))
        return print;
    print.exists = true;
    print.size = (static_cast<uint64_t>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
    print.lastWrite = (static_cast<uint64_t>(attributes.ftLastWriteTime.dwHighDateTime) << 32) |
                      attributes.ftLastWriteTime.dwLowDateTime;
    UniqueHandle file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file)
        return print;
    print.hashKnown = true;

    // FNV-1a over the whole file, or over its first and last mebibyte when it is larger.
    constexpr uint64_t kWhole = 2u << 20;
    uint64_t hash = 14695981039346656037ull;
    auto hashFrom = [&](uint64_t offset, uint64_t count) {
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(offset);
        SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN);
        std::vector<unsigned char> buffer(64 * 1024);
        while (count > 0) {
            DWORD read = 0;
            const DWORD want = static_cast<DWORD>(std::min<uint64_t>(count, buffer.size()));
            if (!ReadFile(file.get(), buffer.data(), want, &read, nullptr) || read == 0)
                break;
            for (DWORD i = 0; i < read; ++i)
                hash = (hash ^ buffer[i]) * 1099511628211ull;
            count -= read;
        }
    };
    if (print.size <= kWhole) {
        hashFrom(0, print.size);
    } else {
        hashFrom(0, kWhole / 2);
        hashFrom(print.size - kWhole / 2, kWhole / 2);
    }
    print.hash = hash;
    return print;
}
