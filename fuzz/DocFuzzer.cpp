// Opens arbitrary bytes as a document file, the way the Open command does: the archive form,
// or a picture when they start with "BM". The framework's message boxes answer at once.
#include "doc/SkorelDoc.h"

#include "framework/Archive.h"
#include "framework/MessageBox.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

int AnswerAtOnce(const char*, UINT) { return IDOK; }

const std::string& InputPath()
{
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("skorel_fuzz_doc_" + std::to_string(::getpid())))
            .string();
    return path;
}

bool WriteInput(const std::uint8_t* data, std::size_t size)
{
    std::FILE* f = std::fopen(InputPath().c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    AfxSetMessageBoxHook(AnswerAtOnce);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (!WriteInput(data, size))
        return 0;
    CSkorelDoc doc;
    if (doc.OnOpenDoc(InputPath().c_str())) {
        // Whatever was read stores again as a count and 32 bytes per record.
        std::vector<BYTE> out;
        CArchive ar(out, CArchive::store);
        doc.Serialize(ar);
        if (out.size() != 4 + 32 * std::size_t(doc.m_shapeList.GetCount()))
            std::abort();
    }
    return 0;
}
