#include "font/platform/FontFileLookup.h"

#include "font/platform/FontFamilyCandidates.h"
#include "font/platform/RegularFaceChoice.h"

#include <fontconfig/fontconfig.h>

#include <QHash>

#include <algorithm>
#include <memory>
#include <tuple>

namespace {

struct PatternDeleter
{
    void operator()(FcPattern *pattern) const { FcPatternDestroy(pattern); }
};
struct ObjectSetDeleter
{
    void operator()(FcObjectSet *objects) const { FcObjectSetDestroy(objects); }
};
struct FontSetDeleter
{
    void operator()(FcFontSet *fonts) const { FcFontSetDestroy(fonts); }
};

using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;
using ObjectSetPtr = std::unique_ptr<FcObjectSet, ObjectSetDeleter>;
using FontSetPtr = std::unique_ptr<FcFontSet, FontSetDeleter>;

QString stringOf(FcPattern *pattern, const char *object)
{
    FcChar8 *value = nullptr;
    if (FcPatternGetString(pattern, object, 0, &value) != FcResultMatch || !value)
        return QString();
    return QString::fromUtf8(reinterpret_cast<const char *>(value));
}

// A variable font lists width and weight as ranges; such a face can be
// instanced at whatever point of its range is closest to `wanted`.
bool numberOf(FcPattern *pattern, const char *object, double wanted, double *number)
{
    FcValue value;
    if (FcPatternGet(pattern, object, 0, &value) != FcResultMatch)
        return false;
    switch (value.type) {
    case FcTypeInteger:
        *number = value.u.i;
        return true;
    case FcTypeDouble:
        *number = value.u.d;
        return true;
    case FcTypeRange: {
        double begin = 0;
        double end = 0;
        if (!FcRangeGetDouble(value.u.r, &begin, &end))
            return false;
        *number = std::clamp(wanted, std::min(begin, end), std::max(begin, end));
        return true;
    }
    default:
        return false;
    }
}

// hb-subset reads only sfnt fonts; Type 1 and bitmap faces that fontconfig
// lists beside them (fonts-urw-base35 installs Type 1 copies of its .otf
// files) are as good as absent.
bool isSubsettable(FcPattern *face)
{
    const QString format = stringOf(face, FC_FONTFORMAT);
    return format == QLatin1String("TrueType") || format == QLatin1String("CFF");
}

FaceTraits traitsOf(FcPattern *face)
{
    FaceTraits traits;
    traits.filePath = stringOf(face, FC_FILE);
    // The upper bits of a variable font's index name a named instance; the
    // file's face is in the lower 16.
    int index = 0;
    if (FcPatternGetInteger(face, FC_INDEX, 0, &index) == FcResultMatch)
        traits.faceIndex = index & 0xFFFF;

    double width = FC_WIDTH_NORMAL;
    if (numberOf(face, FC_WIDTH, FC_WIDTH_NORMAL, &width))
        traits.width = width;

    int slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(face, FC_SLANT, 0, &slant);
    traits.slant = slant == FC_SLANT_ROMAN     ? FaceSlant::Upright
                   : slant == FC_SLANT_OBLIQUE ? FaceSlant::Oblique
                                               : FaceSlant::Italic;

    double weight = FC_WEIGHT_REGULAR;
    if (numberOf(face, FC_WEIGHT, FC_WEIGHT_REGULAR, &weight)) {
        const double cssWeight = FcWeightToOpenTypeDouble(weight);
        if (cssWeight >= 0)
            traits.weight = cssWeight;
    }
    return traits;
}

// The TrueType and CFF faces that fontconfig lists for exactly this family
// name (by its own comparison, which ignores case and blanks). Listing,
// unlike matching, never substitutes another family.
QList<FaceTraits> subsettableFacesOf(const QString &family)
{
    PatternPtr pattern(FcPatternCreate());
    ObjectSetPtr objects(
        FcObjectSetBuild(FC_FILE, FC_INDEX, FC_FONTFORMAT, FC_WIDTH, FC_SLANT, FC_WEIGHT, nullptr));
    if (!pattern || !objects)
        return {};
    const QByteArray name = family.toUtf8();
    if (!FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8 *>(name.constData())))
        return {};
    FontSetPtr fonts(FcFontList(nullptr, pattern.get(), objects.get()));
    if (!fonts)
        return {};

    QList<FaceTraits> faces;
    for (int i = 0; i < fonts->nfont; ++i) {
        FcPattern *face = fonts->fonts[i];
        if (!isSubsettable(face))
            continue;
        FaceTraits traits = traitsOf(face);
        if (!traits.filePath.isEmpty())
            faces.append(traits);
    }
    return faces;
}

} // namespace

QList<FontFace> resolveFamilyFaces(const QString &family)
{
    for (const QString &candidate : fontFamilyCandidates(family)) {
        if (candidate.trimmed().isEmpty())
            continue;
        QList<FaceTraits> faces = subsettableFacesOf(candidate);
        std::stable_sort(faces.begin(), faces.end(), [](const FaceTraits &a, const FaceTraits &b) {
            return std::tie(a.slant, a.weight, a.width, a.filePath, a.faceIndex) <
                   std::tie(b.slant, b.weight, b.width, b.filePath, b.faceIndex);
        });
        QList<FontFace> unique;
        for (const FaceTraits &face : faces) {
            const FontFace each{face.filePath, face.faceIndex};
            if (!unique.contains(each))
                unique.append(each);
        }
        if (!unique.isEmpty())
            return unique;
    }
    return {};
}

FontFace resolveFontFace(const QString &family)
{
    const QStringList candidates = fontFamilyCandidates(family);
    for (const QString &candidate : candidates) {
        // A blank name is no family, whatever fontconfig's blank-ignoring
        // comparison would make of it.
        if (candidate.trimmed().isEmpty())
            continue;
        const QList<FaceTraits> faces = subsettableFacesOf(candidate);
        if (faces.isEmpty())
            continue;
        const FaceTraits &regular = faces.at(regularFaceIndex(faces));
        return {regular.filePath, regular.faceIndex};
    }
    return FontFace();
}

QString resolveFontFilePath(const QString &family)
{
    return resolveFontFace(family).path;
}

QList<InstalledFontFamily> installedFontFamilies()
{
    PatternPtr pattern(FcPatternCreate());
    ObjectSetPtr objects(FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, FC_FILE, FC_FONTFORMAT, nullptr));
    if (!pattern || !objects)
        return {};
    FontSetPtr fonts(FcFontList(nullptr, pattern.get(), objects.get()));
    if (!fonts)
        return {};

    // Faces of one family share its first name; the others are gathered
    // from all of them.
    QList<InstalledFontFamily> families;
    QHash<QString, qsizetype> byFirstName;
    for (int i = 0; i < fonts->nfont; ++i) {
        FcPattern *face = fonts->fonts[i];
        const QString first = stringOf(face, FC_FAMILY);
        if (first.isEmpty() || !isSubsettable(face))
            continue;
        const QString key = first.toCaseFolded();
        if (!byFirstName.contains(key)) {
            byFirstName.insert(key, families.size());
            families.append(InstalledFontFamily());
        }
        InstalledFontFamily &family = families[byFirstName.value(key)];
        FcChar8 *value = nullptr;
        for (int k = 0; FcPatternGetString(face, FC_FAMILY, k, &value) == FcResultMatch; ++k) {
            const QString name = QString::fromUtf8(reinterpret_cast<const char *>(value));
            if (family.names.contains(name))
                continue;
            FcChar8 *language = nullptr;
            const bool known = FcPatternGetString(face, FC_FAMILYLANG, k, &language) == FcResultMatch;
            family.names.append(name);
            family.languages.append(known ? QString::fromUtf8(reinterpret_cast<const char *>(language))
                                          : QString());
        }
        const QString file = stringOf(face, FC_FILE);
        if (!file.isEmpty() && !family.files.contains(file))
            family.files.append(file);
    }
    return families;
}
