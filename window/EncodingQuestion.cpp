#include "window/EncodingQuestion.h"

#include "common/UiText.h"

#include <QInputDialog>
#include <QStringList>

bool askLegacyEncoding(QWidget *parent, const QString &problem, SourceEncoding *encoding)
{
    // Whoever imports one legacy file mostly has more of them in the same encoding.
    static SourceEncoding lastChosen = SourceEncoding::Gb18030;
    const QList<SourceEncoding> encodings = legacyEncodings();
    QStringList labels;
    for (SourceEncoding candidate : encodings)
        labels.append(sourceEncodingLabel(candidate));
    bool accepted = false;
    const QString label = QInputDialog::getItem(
        parent, uiText("Not UTF-8", "不是 UTF-8"),
        problem + QLatin1Char('\n') + uiText("Read it as:", "按以下编码读取："), labels,
        int(encodings.indexOf(lastChosen)), false, &accepted);
    if (!accepted)
        return false;
    *encoding = lastChosen = encodings.value(labels.indexOf(label), lastChosen);
    return true;
}
