// The viewer's pattern scan run natively over a file read with pread: how fast the scan itself
// is, without Wine in the way; and a timer for the commands it is compared with.
//
//   oktalon_native_search_bench scan FILE RUNS [--filter=plain|sse2|avx2] LABEL=[HEXPATTERN]...
//     Prints one line per pattern and run:  scan native LABEL WALL CPU BYTES RESULT
//     WALL and CPU are the run's elapsed and processor (user + system) seconds, RESULT the
//     first match's offset or -1. An empty pattern (LABEL=) times reading the file
//     in the scan's blocks without searching: the floor under every scan. --filter makes the
//     scan find its candidates that way instead of the fastest way the processor offers.
//
//   oktalon_native_search_bench time OUTFILE -- COMMAND [ARGS...]
//     Runs COMMAND with its output into OUTFILE and prints  WALL CPU  (its elapsed and its
//     processor seconds, user + system, from the system's accounting of the child).
//
// Processor time is what a scan costs; on a busy shared machine the elapsed time also holds the
// time spent waiting for a processor, so both are shown.

#include "ParseHex.h"
#include "doc/PatternScan.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

class PreadReader : public IPositionedReader {
public:
    explicit PreadReader(int fd) : m_fd(fd) {}

    int64_t Length() override {
        const off_t end = lseek(m_fd, 0, SEEK_END);
        if (end < 0)
            throw std::runtime_error(std::strerror(errno));
        return end;
    }

    size_t ReadAt(int64_t offset, void* buffer, size_t count) override {
        for (;;) {
            const ssize_t got = pread(m_fd, buffer, count, static_cast<off_t>(offset));
            if (got >= 0)
                return static_cast<size_t>(got);
            if (errno != EINTR)
                throw std::runtime_error(std::strerror(errno));
        }
    }

private:
    int m_fd;
};

// Reads all the data in blocks of the scan's size, as a scan that finds nothing does, into a
// page-aligned buffer: the kernel copies slowest into a buffer a few bytes past a page
// boundary (on some processors), and this is the floor, not a victim of that.
std::optional<int64_t> ReadThrough(IPositionedReader& reader) {
    constexpr size_t kPage = 4096;
    std::unique_ptr<uint8_t, decltype(&std::free)> block(
        static_cast<uint8_t*>(std::aligned_alloc(kPage, kDefaultScanBlockSize)), &std::free);
    if (!block)
        throw std::bad_alloc();
    const int64_t length = reader.Length();
    for (int64_t offset = 0; offset < length;) {
        const size_t got = reader.ReadAt(offset, block.get(), kDefaultScanBlockSize);
        if (got == 0)
            break;
        offset += static_cast<int64_t>(got);
    }
    return std::nullopt;
}

double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

int Scan(const char* path, int runs, char** arguments, int count) {
    const int fd = open(path, O_RDONLY);
    if (fd < 0) {
        std::perror(path);
        return 1;
    }
    PreadReader reader(fd);
    const int64_t length = reader.Length();
    ScanFilter filter = FastestScanFilter();
    const std::string filterOption = "--filter=";
    if (count > 0 && std::string(arguments[0]).starts_with(filterOption)) {
        const std::string name = arguments[0] + filterOption.size();
        filter = name == "plain" ? ScanFilter::Plain : name == "sse2" ? ScanFilter::Sse2 : ScanFilter::Avx2;
        if ((name != "plain" && name != "sse2" && name != "avx2") || !IsScanFilterAvailable(filter)) {
            std::fprintf(stderr, "no such filter here: %s\n", name.c_str());
            return 2;
        }
        ++arguments;
        --count;
    }

    for (int i = 0; i < count; ++i) {
        const std::string argument = arguments[i];
        const size_t equals = argument.find('=');
        std::vector<uint8_t> pattern;
        const bool readOnly = equals != std::string::npos && equals + 1 == argument.size();
        if (equals == std::string::npos || (!readOnly && !ParseHex(argument.substr(equals + 1), pattern))) {
            std::fprintf(stderr, "not LABEL=HEXPATTERN: %s\n", arguments[i]);
            return 2;
        }
        const std::string label = argument.substr(0, equals);
        for (int run = 0; run < runs; ++run) {
            const double cpuStart = CpuSeconds();
            const auto start = std::chrono::steady_clock::now();
            const std::optional<int64_t> found =
                readOnly ? ReadThrough(reader) : FindPattern(reader, pattern, 0, kDefaultScanBlockSize, filter);
            const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
            const double cpu = CpuSeconds() - cpuStart;
            std::printf("scan native %s %.6f %.6f %lld %lld\n", label.c_str(), elapsed.count(), cpu,
                        static_cast<long long>(length), static_cast<long long>(found.value_or(-1)));
            std::fflush(stdout);
        }
    }
    close(fd);
    return 0;
}

int Time(const char* outFile, char** command) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        return 1;
    }
    if (child == 0) {
        const int out = open(outFile, O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || dup2(out, STDOUT_FILENO) < 0)
            _exit(127);
        execvp(command[0], command);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    while (wait4(child, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            std::perror("wait4");
            return 1;
        }
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    std::printf("%.6f %.6f\n", elapsed.count(), seconds(usage.ru_utime) + seconds(usage.ru_stime));
    return WIFEXITED(status) && WEXITSTATUS(status) == 127 ? 127 : 0;
}

int Usage(const char* self) {
    std::fprintf(stderr,
                 "usage: %s scan FILE RUNS [--filter=plain|sse2|avx2] LABEL=[HEXPATTERN]...\n"
                 "       %s time OUTFILE -- COMMAND [ARGS...]\n",
                 self, self);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 5 && std::strcmp(argv[1], "scan") == 0)
        return Scan(argv[2], std::max(1, std::atoi(argv[3])), argv + 4, argc - 4);
    if (argc >= 5 && std::strcmp(argv[1], "time") == 0 && std::strcmp(argv[3], "--") == 0)
        return Time(argv[2], argv + 4);
    return Usage(argv[0]);
}
