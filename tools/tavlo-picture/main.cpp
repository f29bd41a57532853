// tavlo-picture convert IN OUT: decodes IN (BMP, JPEG, PNG or GIF, told apart
// by content) and writes OUT as a 24-bit BMP.
#include "AtomicFile.h"
#include "MappedFile.h"
#include "Picture.h"
#include "ToolMain.h"
#include "UserFacingError.h"

namespace {

const tavlo::tool::ToolDescription kTool{
    .name = "tavlo-picture",
    .summary = "把图片转换为程序使用的 BMP 文件。",
    .commands = {{.name = "convert",
                  .arguments = "输入图片 输出图片",
                  .summary = "把 BMP、JPEG、PNG 或 GIF 图片转换为 24 位 BMP 文件",
                  .details = "图片的格式按文件内容判断，不看扩展名；GIF 取第一帧，透明的部分为白色。"
                             "输出文件整个换成新文件，失败时保持原样。",
                  .fewestOperands = 2,
                  .mostOperands = 2}},
};

// Every format streams row by row into the BMP, so a small file describing a
// huge picture never has the picture held whole (an interlaced PNG excepted).
int convert(const tavlo::tool::Invocation& call) {
    using namespace tavlo;
    try {
        const MappedFile file(call.operands[0]);
        AtomicFile bmp(call.operands[1], AtomicFile::Sync::Fast);
        imaging::writePictureAsBmp(file, bmp);
        bmp.commit();
    } catch (const imaging::ImageError& error) {
        // The user reads the picture's cause; the decoder's account is for developers.
        throw UserFacingError(error.cause());
    }
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    return tavlo::tool::runTool(kTool, argc, argv, convert);
}
