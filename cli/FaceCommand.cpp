#include "cli/FaceCommand.h"

#include "common/UiText.h"
#include "font/FontFaceList.h"
#include "font/platform/FontFileLookup.h"

#include <QRegularExpression>
#include <QTextStream>

bool commandLineFace(const SubsetCommandLine &commandLine, FontFace *face, QString *errorMessage)
{
    if (commandLine.family.isEmpty()) {
        *face = {commandLine.fontPath, commandLine.faceIndex};
        return true;
    }
    *face = resolveFontFace(commandLine.family);
    if (!face->path.isEmpty())
        return true;
    if (errorMessage)
        *errorMessage = uiText("No installed font family \"%1\" with a TrueType or OpenType file was found.",
                               "未找到已安装的字体族“%1”对应的 TrueType 或 OpenType 字体文件。")
                            .arg(commandLine.family);
    return false;
}

QString faceIndexUsageProblem(const FontFace &face)
{
    if (face.index == 0)
        return QString();
    const FontFaceList list = listFontFaces(face.path);
    if (list.status != FontFaceList::Status::Listed && list.status != FontFaceList::Status::NotAFont)
        return QString();
    return faceIndexProblem(face, list);
}

int listFacesCommand(const SubsetCommandLine &commandLine, QTextStream &out, QTextStream &err)
{
    const QString program = QStringLiteral("vfc-subset: ");
    FontFace face;
    QString problem;
    if (!commandLineFace(commandLine, &face, &problem)) {
        err << program << problem << '\n';
        return 1;
    }
    const FontFaceList list = listFontFaces(face.path);
    if (list.status == FontFaceList::Status::NotAFont)
        problem = uiText("%1 is no font file that can be read.", "%1 不是可读取的字体文件。").arg(face.path);
    else if (list.status != FontFaceList::Status::Listed)
        problem = fontFaceProblem(face);
    if (!problem.isEmpty()) {
        err << program << problem << '\n';
        return 1;
    }
    for (qsizetype index = 0; index < list.faces.size(); ++index) {
        // A tab or line break inside a name would break the columns.
        const auto cell = [](QString text) {
            return text.replace(QRegularExpression(QStringLiteral("\\s")), QStringLiteral(" "));
        };
        out << index << '\t' << cell(list.faces.at(index).family) << '\t' << cell(list.faces.at(index).style)
            << '\n';
    }
    out.flush();
    return 0;
}
