#include "ComposeTexts.h"

namespace tavlo::compose::texts {

std::string applyMessage(ApplyResult result) {
    switch (result) {
    case ApplyResult::BackgroundUnreadable: return "加载失败！";
    case ApplyResult::NoPicture: return "请先插入图片或截图，再更换壁纸。";
    case ApplyResult::NoBackground: return "没有可用的背景图片，请先添加背景图片。";
    case ApplyResult::Applied:
    case ApplyResult::Declined:
    case ApplyResult::WallpaperNotSet: break;
    }
    return {};
}

}  // namespace tavlo::compose::texts
