#pragma once

#include <QObject>
#include <QStringList>

class QWidget;

// Takes files dropped on the window: a single font file anywhere becomes the
// source font, and text files or folders dropped on the custom-text page are
// imported. Other drops (text dragged into an edit field) pass untouched.
class FileDropFilter : public QObject
{
    Q_OBJECT

public:
    // Watches `window` and every widget it holds at the time.
    FileDropFilter(QWidget *window, QWidget *textPage);

Q_SIGNALS:
    // Emitted after the drop has ended, so that a box they open does not
    // hold up the program the files came from.
    void fontDropped(const QString &path);
    void textDropped(const QStringList &paths);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *textPage;
};
