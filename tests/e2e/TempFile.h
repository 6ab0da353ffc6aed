// TempFile: the test files of every Windows test program (the class suites, the end-to-end and
// reliability suites, the benchmarks), each made for one test and checked unchanged when it goes;
// the fingerprint it is checked with; the temporary folder and unique names in it. In the
// driver's library, which links no framework, so that every test program can use it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// What the read-only promise is checked against: a file's size, last write time and a hash of
// its contents (of its first and last mebibyte when it is larger than that).
struct FileFingerprint {
    uint64_t size = 0;
    uint64_t lastWrite = 0;
    uint64_t hash = 0;
    bool exists = false;
    bool hashKnown = false;  // false while someone holds the file exclusively
    // Equal when size and time agree and, where both hashes could be taken, the hashes too.
    bool Matches(const FileFingerprint& other) const {
        return exists == other.exists && size == other.size && lastWrite == other.lastWrite &&
               (!hashKnown || !other.hashKnown || hash == other.hash);
    }
};
FileFingerprint TakeFingerprint(const std::wstring& path);

// Bytes to write at given offsets of a file.
using FilePatches = std::vector<std::pair<uint64_t, std::string>>;

// A file in the temporary folder with the given bytes, deleted again with this object. The
// viewer only ever reads: when the file goes, it must be exactly as it was made (same size,
// time and contents), or the test fails.
class TempFile {
public:
    explicit TempFile(const std::string& bytes, const wchar_t* nameHint = L"okt");
    // The file at that full name (plain, of any length).
    static TempFile At(const std::wstring& fullPath, const std::string& bytes);
    // A sparse file of the given length (zeros), cheap however long.
    static TempFile Sparse(uint64_t length, const wchar_t* nameHint = L"okt");
    // The same with some bytes written at given offsets (each must end inside the file).
    static TempFile Sparse(uint64_t length, const FilePatches& patches, const wchar_t* nameHint = L"okt");
    // The same at that full name.
    static TempFile SparseAt(const std::wstring& fullPath, uint64_t length, const FilePatches& patches);
    TempFile(TempFile&& other) noexcept : m_path(std::move(other.m_path)), m_fingerprint(other.m_fingerprint) {
        other.m_path.clear();
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile();

    const std::wstring& path() const { return m_path; }
    const wchar_t* c_str() const { return m_path.c_str(); }
    // Deletes the file now, as the test's own doing (a file that vanishes from under the viewer).
    bool Delete();

private:
    TempFile() = default;
    std::wstring m_path;
    FileFingerprint m_fingerprint;
};

// The temporary folder, ending in a separator.
std::wstring TempFolder();
// A unique path in the temporary folder, not yet created.
std::wstring UniqueTempPath(const wchar_t* nameHint);
// The name under which the tests' own calls reach a file or folder of theirs, given its full
// name: the "\\?\" form once that is too long for the plain one ("\\?\UNC\" for a share); a
// name in the "\\?\" or "\\.\" form as it is.
std::wstring ForSystem(const std::wstring& fullPath);
