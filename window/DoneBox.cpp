#include "window/DoneBox.h"

#include "common/UiText.h"
#include "window/DetailedTextFiller.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

void showDoneBox(QWidget *window, const QString &message, const QString &missingCharsNote,
                 const QList<uint> &missingCodepoints, const QString &folder)
{
    QString text = message;
    if (!missingCharsNote.isEmpty())
        text += QLatin1String("\n\n") + missingCharsNote;
    QMessageBox box(QMessageBox::Information, uiText("Done", "完成"), text, QMessageBox::Ok, window);
    QPushButton *openFolder = box.addButton(uiText("Open Folder", "打开文件夹"), QMessageBox::ActionRole);
    openFolder->setObjectName(QStringLiteral("openFolderButton"));
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    // The note names a few examples; the whole list is one click away.
    if (!missingCodepoints.isEmpty())
        fillDetailedText(&box, missingCodepoints);
    box.exec();
    if (box.clickedButton() == openFolder)
        QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}
