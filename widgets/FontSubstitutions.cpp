#include "FontSubstitutions.h"

#include <QFont>
#include <QStringList>

namespace tavlo::widgets {

void registerFontSubstitutions() {
    const QStringList song = {QStringLiteral("Noto Serif CJK SC"), QStringLiteral("WenQuanYi Zen Hei Sharp"),
                              QStringLiteral("Noto Sans CJK SC")};
    const QStringList hei = {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei")};
    const QStringList round = {QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Noto Sans CJK SC")};
    const QStringList arial = {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
    const struct {
        const char16_t* name;
        const QStringList& faces;
    } table[] = {
        {u"宋体", song},           {u"SimSun", song}, {u"黑体", hei},      {u"SimHei", hei},  {u"微软雅黑", hei},
        {u"Microsoft YaHei", hei}, {u"幼圆", round},  {u"YouYuan", round}, {u"Arial", arial}, {u"Arial Black", arial},
    };
    for (const auto& entry : table) {
        QFont::insertSubstitutions(QString::fromUtf16(entry.name), entry.faces);
    }
}

}  // namespace tavlo::widgets
