// tavlo_decode_probe CODEPAGE FILE: the file decoded as the program decodes
// text, written to standard output as UTF-16LE (what iconv -t UTF-16LE writes).
#include "CodePageText.h"
#include "FileError.h"
#include "MappedFile.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("用法：tavlo_decode_probe 代码页 文件\n", stderr);
        return 2;
    }
    try {
        const tavlo::MappedFile file(argv[2]);
        const auto& bytes = file.bytes();
        const auto text = tavlo::decodeCodePage(
            std::atoi(argv[1]), std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        if (!text) {
            std::fputs("不能转换这个代码页\n", stderr);
            return 1;
        }
        if (std::fwrite(text->data(), 2, text->size(), stdout) != text->size() || std::fflush(stdout) != 0) {
            std::fputs("写入标准输出失败\n", stderr);
            return 1;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
