#include "ModalDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QProgressDialog>

namespace {
constexpr int tickMs = 20;
QString describe(const QWidget *window)
{
    return QString::fromLatin1(window->metaObject()->className()) + ": " + window->windowTitle();
}
} // namespace

ModalDriver::ModalDriver(int unexpectedAfterMs) : unexpectedAfterTicks(unexpectedAfterMs / tickMs)
{
    timer.setInterval(tickMs);
    connect(&timer, &QTimer::timeout, this, &ModalDriver::poll);
    timer.start();
}

void ModalDriver::expect(Answer answer)
{
    answers.append({std::move(answer), false});
}

void ModalDriver::expectProgress(Answer answer)
{
    answers.append({std::move(answer), true});
}

void ModalDriver::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || modal == lastAnswered)
        return;
    const bool progress = qobject_cast<QProgressDialog *>(modal);
    if (progress && (answers.isEmpty() || !answers.first().progress))
        return;
    if (!answers.isEmpty()) {
        lastAnswered = modal;
        answered.append(describe(modal));
        Answer answer = answers.takeFirst().answer;
        answer(modal);
        return;
    }
    if (modal != stray) {
        stray = modal;
        strayTicks = 0;
    }
    if (++strayTicks >= unexpectedAfterTicks) {
        strays.append(describe(modal));
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
    }
}

ModalDriver::Answer ModalDriver::chooseFile(const QString &path)
{
    return [path](QWidget *window) {
        auto *dialog = qobject_cast<QFileDialog *>(window);
        if (!dialog) {
            window->close();
            return;
        }
        // Typing the path into the name field is what a user does, and it
        // works the same for files and for directories.
        if (auto *nameEdit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            nameEdit->setText(path);
        else
            dialog->selectFile(path);
        static_cast<QDialog *>(dialog)->accept();
    };
}

ModalDriver::Answer ModalDriver::cancel()
{
    return [](QWidget *window) {
        if (auto *dialog = qobject_cast<QDialog *>(window))
            dialog->reject();
        else
            window->close();
    };
}

ModalDriver::Answer ModalDriver::press(QMessageBox::StandardButton button)
{
    return pressAndKeep(button, nullptr);
}

ModalDriver::Answer ModalDriver::pressAndKeep(QMessageBox::StandardButton button, QString *text,
                                              QString *title)
{
    return [button, text, title](QWidget *window) {
        if (title)
            *title = window->windowTitle();
        auto *box = qobject_cast<QMessageBox *>(window);
        if (!box) {
            window->close();
            return;
        }
        if (text)
            *text = box->text();
        if (QAbstractButton *target = box->button(button))
            target->click();
        else
            box->reject();
    };
}

bool noWindowLeftOpen()
{
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window->isVisible())
            return false;
    }
    return true;
}
