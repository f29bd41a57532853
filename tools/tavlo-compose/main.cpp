// tavlo-compose BACKGROUND CONTENT OUT: the composition of the apply command.
// The content (any supported picture) is pasted at (background width -
// content width - 52, 4); OUT keeps the background's size and pixel format.
#include "Composition.h"
#include "Picture.h"
#include "ToolMain.h"
#include "UserFacingError.h"

namespace {

const tavlo::tool::ToolDescription kTool{
    .name = "tavlo-compose",
    .summary = "像“应用到桌面”那样把一张图片贴到背景图片上，写成 BMP 文件。",
    .commands = {{.arguments = "背景图片 内容图片 输出图片",
                  .details = "内容图片不透明地贴在背景的右上角附近：左边距背景左边“背景宽度 − 内容宽度 − 52”像素，"
                             "上边距背景上边 4 像素，超出背景的部分不要。\n"
                             "两张图片都可以是 BMP、JPEG、PNG 或 GIF。输出图片是 BMP 文件，尺寸与背景相同"
                             "（背景是 BMP 时像素格式也相同），整个换成新文件，失败时保持原样。",
                  .fewestOperands = 3,
                  .mostOperands = 3}},
};

int compose(const tavlo::tool::Invocation& call) {
    using namespace tavlo;
    try {
        const std::vector<std::string>& files = call.operands;
        const Background background = Background::load(files[0]);
        const imaging::Bitmap content = imaging::loadPicture(files[1]);
        background.composeInto(content, Placement::onBackground(background.width(), content.width()), files[2]);
    } catch (const imaging::ImageError& error) {
        // The user reads the picture's cause; the decoder's account is for developers.
        throw UserFacingError(error.cause());
    }
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    return tavlo::tool::runTool(kTool, argc, argv, compose);
}
