#include "subset/SubsetOptions.h"

#include "common/UiText.h"
#include "font/VariationAxes.h"

#include <QFileInfo>
#include <QRegularExpression>

QStringList layoutTableTags()
{
    // kern, morx and kerx are the older and the AAT forms of the same job.
    return {QStringLiteral("GSUB"), QStringLiteral("GPOS"), QStringLiteral("GDEF"), QStringLiteral("BASE"),
            QStringLiteral("JSTF"), QStringLiteral("kern"), QStringLiteral("morx"), QStringLiteral("kerx")};
}

QStringList layoutChoiceWords()
{
    return {QStringLiteral("all"), QStringLiteral("common"), QStringLiteral("none")};
}

QStringList nameChoiceWords()
{
    return {QStringLiteral("default"), QStringLiteral("licence"), QStringLiteral("all")};
}

bool parseAxisPins(const QString &list, QList<AxisPin> *pins, QString *error)
{
    // A tag is up to four printable ASCII characters; hb-subset pads short ones with spaces.
    static const QRegularExpression item(
        QStringLiteral("^([A-Za-z0-9]{1,4})=([-+]?(?:\\d+\\.?\\d*|\\.\\d+))$"));
    QList<AxisPin> found;
    for (const QString &rawItem : list.split(QLatin1Char(','))) {
        const QString text = rawItem.trimmed();
        if (text.isEmpty())
            continue;
        const QRegularExpressionMatch match = item.match(text);
        if (!match.hasMatch()) {
            if (error)
                *error = uiText("Invalid axis setting \"%1\" in --instance: use TAG=VALUE pairs separated by "
                                "commas, such as wght=400,wdth=100.",
                                "--instance 中的轴设置“%1”无效：请使用以逗号分隔的 轴=数值，如 "
                                "wght=400,wdth=100。")
                             .arg(text);
            return false;
        }
        const QString tag = match.captured(1);
        for (const AxisPin &pin : std::as_const(found)) {
            if (pin.tag == tag) {
                if (error)
                    *error =
                        uiText("Axis %1 is given twice in --instance.", "--instance 中轴 %1 出现了两次。")
                            .arg(tag);
                return false;
            }
        }
        found.append({tag, match.captured(2).toDouble()});
    }
    if (found.isEmpty()) {
        if (error)
            *error = uiText("Option --instance lists no axis.", "选项 --instance 未列出任何轴。");
        return false;
    }
    *pins = found;
    return true;
}

QString axisPinProblem(const FontFace &face, const QList<AxisPin> &pins)
{
    if (pins.isEmpty())
        return QString();
    const QString font = QFileInfo(face.path).fileName();
    const QList<VariationAxis> axes = variationAxes(face);
    if (axes.isEmpty())
        return uiText("%1 is not a variable font: it has no axes to pin.",
                      "%1 不是可变字体，没有可固定的轴。")
            .arg(font);
    if (hasCff2Outlines(face))
        return uiText("hb-subset cannot pin the axes of %1 (CFF2 outlines): leave its axes variable.",
                      "hb-subset 无法固定 %1 的轴（CFF2 轮廓）：请保持其轴为可变。")
            .arg(font);
    QStringList tags;
    for (const VariationAxis &axis : axes)
        tags.append(axis.tag);
    for (const AxisPin &pin : pins) {
        const int index = int(tags.indexOf(pin.tag));
        if (index < 0)
            return uiText("%1 has no axis %2; its axes are: %3", "%1 没有轴 %2；其轴为: %3")
                .arg(font, pin.tag, tags.join(QStringLiteral(", ")));
        const VariationAxis &axis = axes.at(index);
        if (pin.value < axis.minimum || pin.value > axis.maximum)
            return uiText("Axis %1 of %2 runs from %3 to %4; %5 lies outside.",
                          "%2 的轴 %1 范围为 %3 到 %4，%5 超出范围。")
                .arg(pin.tag, font, QString::number(axis.minimum), QString::number(axis.maximum),
                     QString::number(pin.value));
    }
    if (pins.size() != axes.size())
        return uiText("hb-subset pins either every axis of %1 or none: give a value for each of %2.",
                      "hb-subset 只能同时固定 %1 的全部轴或都不固定：请为 %2 各给一个值。")
            .arg(font, tags.join(QStringLiteral(", ")));
    return QString();
}
