#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <functional>

class QWidget;

// Answers the real modal dialogs that the code under test opens. Each expect()
// queues one answer; the answers are given in order, one per modal window, as
// soon as that window is QApplication::activeModalWidget(). A modal window
// that nobody expected is rejected after a while and reported by unexpected().
// Progress dialogs come and go with the work, so they are passed over unless
// the next answer is one queued by expectProgress().
class ModalDriver : public QObject
{
public:
    using Answer = std::function<void(QWidget *)>;

    explicit ModalDriver(int unexpectedAfterMs = 3000);

    void expect(Answer answer);
    void expectProgress(Answer answer);
    int pending() const { return int(answers.size()); }
    QStringList unexpected() const { return strays; }
    // What each answered window was: class name and window title.
    QStringList seen() const { return answered; }

    // Common answers.
    static Answer chooseFile(const QString &path);
    static Answer cancel();
    static Answer press(QMessageBox::StandardButton button);
    // Remembers the message box's text (or any window's title) before pressing.
    static Answer pressAndKeep(QMessageBox::StandardButton button, QString *text, QString *title = nullptr);

private:
    void poll();

    QTimer timer;
    struct Expected
    {
        Answer answer;
        bool progress;
    };
    QList<Expected> answers;
    QPointer<QWidget> lastAnswered;
    QPointer<QWidget> stray;
    int strayTicks = 0;
    int unexpectedAfterTicks;
    QStringList strays;
    QStringList answered;
};

// True when no top-level widget is left visible; GUI tests end with this.
bool noWindowLeftOpen();
