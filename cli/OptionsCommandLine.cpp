#include "cli/OptionsCommandLine.h"

#include "common/UiText.h"

namespace {

const QLatin1String layoutOption("--layout");
const QLatin1String hintingOption("--no-hinting");
const QLatin1String namesOption("--names");
const QLatin1String instanceOption("--instance");

// The index of `value` among `words`, or -1 with the reason in `error`.
int chooseWord(const QString &option, const QString &value, const QStringList &words, QString *error)
{
    const int index = int(words.indexOf(value.trimmed().toLower()));
    if (index < 0 && error)
        *error = uiText("Invalid value \"%1\" for %2: use %3.", "%2 的值“%1”无效：请使用 %3。")
                     .arg(value, option, words.join(QLatin1Char('|')));
    return index;
}

} // namespace

bool isSubsetOptionFlag(const QString &name)
{
    return name == hintingOption;
}

bool isSubsetOptionWithValue(const QString &name)
{
    return name == layoutOption || name == namesOption || name == instanceOption;
}

bool takeSubsetOption(const QString &name, const QString *value, SubsetOptions *options, QString *error)
{
    if (name == hintingOption) {
        options->dropHinting = true;
        return true;
    }
    if (name == instanceOption)
        return parseAxisPins(*value, &options->pins, error);
    if (name == layoutOption) {
        const int index = chooseWord(name, *value, layoutChoiceWords(), error);
        if (index >= 0)
            options->layout = LayoutChoice(index);
        return index >= 0;
    }
    const int index = chooseWord(name, *value, nameChoiceWords(), error);
    if (index >= 0)
        options->names = NameChoice(index);
    return index >= 0;
}

QString subsetOptionsHelp()
{
    return uiText("What the subset keeps besides its characters:\n"
                  "  --layout=all|common|none\n"
                  "                      all: every layout feature (default); common: hb-subset's\n"
                  "                      common set only (drops palt, ruby, alternates and the like);\n"
                  "                      none: no GSUB, GPOS, GDEF, BASE, JSTF, kern, morx, kerx\n"
                  "  --no-hinting        drop hinting instructions and CFF hints\n"
                  "  --names=default|licence|all\n"
                  "                      name records: IDs 0-6 (default), those and the licence\n"
                  "                      (IDs 13 and 14), or every one\n"
                  "  --instance=TAG=VALUE,...\n"
                  "                      pin every axis of a variable font, e.g. wght=400,wdth=100\n"
                  "                      (glyf outlines only; CFF2 fonts stay variable)\n"
                  "\n",
                  "子集在字符之外保留的内容:\n"
                  "  --layout=all|common|none\n"
                  "                      all: 全部排版特性（默认）；common: 仅 hb-subset 的常用\n"
                  "                      特性（不含 palt、注音、替代字形等）；none: 去掉 GSUB、\n"
                  "                      GPOS、GDEF、BASE、JSTF、kern、morx、kerx\n"
                  "  --no-hinting        去掉微调指令与 CFF 提示\n"
                  "  --names=default|licence|all\n"
                  "                      名称记录: ID 0-6（默认）、另加许可证（ID 13 和 14），\n"
                  "                      或全部保留\n"
                  "  --instance=轴=数值,...\n"
                  "                      固定可变字体的全部轴，如 wght=400,wdth=100\n"
                  "                      （仅限 glyf 轮廓；CFF2 字体保持可变）\n"
                  "\n");
}
