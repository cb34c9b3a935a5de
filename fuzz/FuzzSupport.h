#pragma once
// Shared by the fuzz targets. A broken property aborts, which libFuzzer counts
// as a crash and saves the input for.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <random>
#include <string>

#include "lib/Types.h"

#define FUZZ_CHECK(cond)                                                                     \
    do {                                                                                     \
        if (!(cond)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                                    \
        }                                                                                    \
    } while (0)

// A file of this process's own for targets whose code under test reads a
// path: the random part keeps parallel fuzzing jobs apart. Without TMPDIR it
// goes to /dev/shm where it can: on a disk, writing it each run costs about
// seven times the throughput.
class CScratchFile {
public:
    explicit CScratchFile(const char* pszName)
    {
        const CString strName = "/tarvick-fuzz-" + std::to_string(std::random_device{}()) + "-" + pszName;
        const char* pszDir = std::getenv("TMPDIR");
        for (const char* pszTry : {pszDir, "/dev/shm", "/tmp"}) {
            if (!pszTry || !*pszTry)
                continue;
            m_strPath = pszTry + strName;
            if (std::FILE* pFile = std::fopen(m_strPath.c_str(), "wb")) {
                std::fclose(pFile);
                return;
            }
        }
    }
    ~CScratchFile() { std::remove(m_strPath.c_str()); }
    CScratchFile(const CScratchFile&) = delete;
    CScratchFile& operator=(const CScratchFile&) = delete;

    const CString& Path() const { return m_strPath; }

    void Write(const std::uint8_t* pData, std::size_t nSize) const
    {
        std::FILE* pFile = std::fopen(m_strPath.c_str(), "wb");
        FUZZ_CHECK(pFile != nullptr);
        FUZZ_CHECK(nSize == 0 || std::fwrite(pData, 1, nSize, pFile) == nSize);
        FUZZ_CHECK(std::fclose(pFile) == 0);
    }

private:
    CString m_strPath;
};
