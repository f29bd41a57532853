#include "ImagingTexts.h"

namespace tavlo::imaging::texts {

namespace {

// "图片", after the format's name where it is known: "BMP 图片".
std::string pictureOf(PictureFormat format) {
    switch (format) {
    case PictureFormat::Bmp: return "BMP 图片";
    case PictureFormat::Jpeg: return "JPEG 图片";
    case PictureFormat::Png: return "PNG 图片";
    case PictureFormat::Gif: return "GIF 图片";
    case PictureFormat::Unknown: break;
    }
    return "图片";
}

}  // namespace

std::string faultCause(ImageFault fault, PictureFormat format) {
    switch (fault) {
    case ImageFault::Damaged: return pictureOf(format) + "的数据已损坏或不完整";
    case ImageFault::Unsupported: return "不支持这种存储方式的" + pictureOf(format);
    case ImageFault::TooLarge: return "图片太大，无法读取";
    case ImageFault::OutOfMemory: return "内存不足，无法读取图片";
    case ImageFault::UnknownFormat: break;
    }
    return "未知的图片格式（可读取 BMP、JPEG、PNG 和 GIF）";
}

std::string unreadableFile(const std::string& shownPath, const std::string& cause) {
    return "“" + shownPath + "”不是可读取的图片：" + cause;
}

}  // namespace tavlo::imaging::texts
