#pragma once

#include <QString>

// A font file registered with the application font database for exactly the
// lifetime of this object. Letting the destructor undo it means no return
// path, early or late, can leave the file registered.
class ApplicationFontRegistration
{
public:
    explicit ApplicationFontRegistration(const QString &fontPath);
    ~ApplicationFontRegistration();
    ApplicationFontRegistration(const ApplicationFontRegistration &) = delete;
    ApplicationFontRegistration &operator=(const ApplicationFontRegistration &) = delete;

    // Negative when the database refused the file.
    int id() const { return fontId; }
    // The first family the database found in the file; empty when refused.
    QString family() const { return firstFamily; }

private:
    int fontId;
    QString firstFamily;
};
