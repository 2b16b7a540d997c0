#include "ModalDriver.h"
#include "TestFonts.h"
#include "cli/SubsetCommandLine.h"
#include "common/UiText.h"
#include "subset/SubsetJob.h"
#include "subset/SubsetRequest.h"
#include "window/SubsetOptionsButton.h"
#include "window/VectorFontClipDialog.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QJsonDocument>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(SubsetOptions)

namespace {

const QString notoCjk = "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc";
const int notoSc = 2;
// Punctuation that palt narrows and vert turns, Latin that kern pairs.
const QString sentence = QString::fromUtf8("中文句子，“引号”与（括号）。AVAW 12");

QString run(const QString &program, const QStringList &arguments, int *exitCode = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(120000);
    if (exitCode)
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
}

// Read back with fontTools, which shares no code with hb-subset.
QVariantMap factsOf(const QString &font, int face = 0, const QStringList &instanceOf = {})
{
    const QStringList arguments{QFINDTESTDATA("font_facts.py"), font, QString::number(face)};
    const QString json = run("/usr/bin/python3", arguments + instanceOf);
    return QJsonDocument::fromJson(json.toUtf8()).toVariant().toMap();
}

// Advances and offsets as hb-shape gives them, glyph ids left out.
QString positions(const QString &font, int face, const QString &features, const QString &direction)
{
    const QString shaped =
        run("hb-shape", {"--face-index=" + QString::number(face), "--direction=" + direction,
                         "--features=" + features, "--no-glyph-names", "--no-clusters", font, sentence});
    return QString(shaped).remove(QRegularExpression("(?<=[\\[|])\\d+"));
}

SubsetOptions options(LayoutChoice layout, bool dropHinting = false,
                      NameChoice names = NameChoice::Identification, const QList<AxisPin> &pins = {})
{
    return {layout, dropHinting, names, pins};
}

} // namespace

class TestSubsetOptions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void readBack_data();
    void readBack();
    void pins_data();
    void pins();
    void commandLine_data();
    void commandLine();
    void optionsDialog();
    void buttonFollowsTheFace_data();
    void buttonFollowsTheFace();

private:
    // Cuts through the request both front ends build and checks the result
    // as OTS does; false with the reason.
    bool cut(const FontFace &face, const QString &text, const SubsetOptions &chosen, QString *error)
    {
        SubsetChoices choices;
        choices.face = face;
        choices.targetPath = dir.filePath("out.font");
        choices.texts = {text};
        setUiEnglish(true);
        choices.toolDirectory = VFC_BIN_DIR;
        choices.options = chosen;
        SubsetRequest request;
        if (!buildSubsetRequest(choices, &request, error))
            return false;
        const SubsetOutcome outcome = runSubsetJob(request);
        int code = -1;
        *error = outcome.ok ? run("ots-sanitize", {request.targetPath}, &code) : outcome.errorMessage;
        return code == 0;
    }

    QTemporaryDir dir;
};

void TestSubsetOptions::initTestCase()
{
    QVERIFY(dir.isValid());
    int code = -1;
    const QString said = run("/usr/bin/python3", {QFINDTESTDATA("make_variable_font.py"), dir.path()}, &code);
    QVERIFY2(code == 0, qPrintable(said));
}

void TestSubsetOptions::readBack_data()
{
    QTest::addColumn<QString>("font");
    QTest::addColumn<int>("face");
    QTest::addColumn<SubsetOptions>("chosen");
    QTest::addColumn<QStringList>("tags");        // tables, GSUB:/GPOS: features and hints; "-" when gone
    QTest::addColumn<QStringList>("extraNames");  // name IDs kept beyond 0-6; "*": every record
    QTest::addColumn<QStringList>("shapedAlike"); // hb-shape direction and features, e.g. "ttb palt"

    const QString ttf = TestFonts::dejaVuSans();
    const QStringList noLayout{"-GSUB", "-GPOS", "-GDEF", "-BASE"};
    const QStringList common{"GPOS:vpal", "GSUB:vert", "GPOS:kern", "hints"};
    // clang-format off
    const QStringList none;
    QTest::newRow("ttf, as always") << ttf << 0 << SubsetOptions() << QStringList{"GSUB", "GPOS", "fpgm", "hints"}
                                    << none << QStringList{"ltr"};
    QTest::newRow("ttf, no layout, no hinting") << ttf << 0 << options(LayoutChoice::NoLayout, true)
                                                << noLayout + QStringList{"glyf", "-fpgm", "-prep", "-cvt ", "-hints"}
                                                << none << none;
    QTest::newRow("otf, no hinting, licence") << TestFonts::nimbusSansOtf() << 0
                                              << options(LayoutChoice::AllFeatures, true, NameChoice::WithLicence)
                                              << QStringList{"CFF ", "-hints"} << QStringList{"13", "14"} << none;
    QTest::newRow("ttc, every feature") << notoCjk << notoSc << SubsetOptions()
                                        << common + QStringList{"GPOS:palt", "GPOS:halt"} << none
                                        << QStringList{"ltr", "ttb", "ltr palt", "ttb palt"};
    QTest::newRow("ttc, common features") << notoCjk << notoSc << options(LayoutChoice::CommonFeatures)
                                          << common + QStringList{"-GPOS:palt", "-GPOS:halt"} << none
                                          << QStringList{"ltr", "ttb"};
    QTest::newRow("ttc, no layout, no hinting, every name")
        << notoCjk << notoSc << options(LayoutChoice::NoLayout, true, NameChoice::AllNames)
        << noLayout + QStringList{"CFF ", "vmtx", "-hints"} << QStringList{"*"} << none;
    // clang-format on
}

void TestSubsetOptions::readBack()
{
    QFETCH(QString, font);
    QFETCH(int, face);
    QFETCH(SubsetOptions, chosen);
    QFETCH(QStringList, tags);
    QFETCH(QStringList, extraNames);
    QFETCH(QStringList, shapedAlike);

    QString error;
    QVERIFY2(cut({font, face}, sentence, chosen, &error), qPrintable(error));
    const QVariantMap facts = factsOf(dir.filePath("out.font"));
    const QStringList found = facts["tags"].toStringList();
    for (const QString &tag : tags) // "-" for gone
        QVERIFY2(found.contains(tag.mid(tag.startsWith('-'))) != tag.startsWith('-'),
                 qPrintable(tag + " in " + found.join(' ')));
    const QString key = extraNames.contains("*") ? "names" : "nameIds"; // every record, or the IDs kept
    QStringList expected = factsOf(font, face)[key].toStringList();
    expected.removeIf(
        [&](const QString &id) { return key == "nameIds" && id.toInt() > 6 && !extraNames.contains(id); });
    QCOMPARE(facts[key].toStringList(), expected);
    // Advances and offsets stay those of the source for what was kept.
    for (const QString &shaping : shapedAlike) {
        const QString features = shaping.section(' ', 1), direction = shaping.section(' ', 0, 0);
        QCOMPARE(positions(dir.filePath("out.font"), 0, features, direction),
                 positions(font, face, features, direction));
    }
}

void TestSubsetOptions::pins_data()
{
    QTest::addColumn<QString>("font"); // in the test folder
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("refusal"); // what the message names besides the font; empty when done

    const QString ttf = "variable.ttf";
    // clang-format off
    QTest::newRow("kept variable") << ttf << "" << "";
    QTest::newRow("pinned elsewhere") << ttf << "wdth=120,wght=650.5" << "";
    QTest::newRow("one axis of two") << ttf << "wght=400" << "wdth";
    QTest::newRow("beyond the range") << ttf << "wght=901,wdth=100" << "901";
    QTest::newRow("unknown axis") << ttf << "wght=400,wdth=100,opsz=12" << "opsz";
    QTest::newRow("CFF2 outlines") << "variable.otf" << "wght=400,wdth=100" << "CFF2";
    // clang-format on
}

void TestSubsetOptions::pins()
{
    QFETCH(QString, font);
    QFETCH(QString, location);
    QFETCH(QString, refusal);

    QList<AxisPin> pins;
    parseAxisPins(location, &pins, nullptr); // leaves none for ""
    const QString path = dir.filePath(font);
    QString error;
    const SubsetOptions chosen = options(LayoutChoice::AllFeatures, false, NameChoice::Identification, pins);
    const bool done = cut({path, 0}, "ABCa", chosen, &error);
    if (!refusal.isEmpty()) {
        QVERIFY2(!done && error.contains(QFileInfo(path).fileName()) && error.contains(refusal),
                 qPrintable(error));
        return;
    }
    QVERIFY2(done, qPrintable(error));
    const QVariantMap facts =
        factsOf(dir.filePath("out.font"), 0, pins.isEmpty() ? QStringList() : QStringList{path, location});
    QCOMPARE(facts["tags"].toStringList().contains("fvar"), pins.isEmpty());
    // Outlines and advances of every glyph as fontTools' own instancer makes them.
    QCOMPARE(facts["sameAsInstance"].toBool(), !pins.isEmpty());
}

void TestSubsetOptions::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<SubsetOptions>("expected");
    QTest::addColumn<QString>("error"); // what a usage error must name; empty when none

    // clang-format off
    const QStringList every{"--layout", "NONE", "--no-hinting", "--names=licence", "--instance=wght=400,wdth=87.5"};
    QTest::newRow("every switch")
        << every << options(LayoutChoice::NoLayout, true, NameChoice::WithLicence, {{"wght", 400}, {"wdth", 87.5}}) << "";
    QTest::newRow("unknown layout") << QStringList{"--layout=minimal"} << SubsetOptions() << "all|common|none";
    QTest::newRow("unknown names") << QStringList{"--names=license"} << SubsetOptions() << "default|licence|all";
    // clang-format on
}

void TestSubsetOptions::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(SubsetOptions, expected);
    QFETCH(QString, error);

    const SubsetCommandLine parsed = parseSubsetCommandLine(
        QStringList{"font.ttf", "--lang=en", "--text=A", "--output-file=o.ttf"} + arguments);
    QVERIFY2(error.isEmpty() ? parsed.action == SubsetCommandLine::Action::Subset
                             : parsed.usageError.contains(error),
             qPrintable(parsed.usageError));
    QVERIFY(parsed.options == expected);
}

void TestSubsetOptions::optionsDialog()
{
    FontFace face{dir.filePath("variable.ttf"), 0};
    setUiEnglish(true);
    SubsetOptionsButton button([&face] { return face; });
    ModalDriver driver;
    driver.expect([](QWidget *window) {
        window->findChildren<QRadioButton *>().at(2)->click(); // no layout
        window->findChild<QCheckBox *>("pinAxes")->click();
        window->findChild<QDoubleSpinBox *>("axis_wght")->setValue(700);
        qobject_cast<QDialog *>(window)->accept();
    });
    button.click();
    const QList<AxisPin> pinned{{"wght", 700}, {"wdth", 100}};
    QVERIFY(button.optionsFor(face) ==
            options(LayoutChoice::NoLayout, false, NameChoice::Identification, pinned));
    // Pins belong to their face; the rest holds for any.
    QVERIFY(button.optionsFor({TestFonts::dejaVuSans(), 0}) == options(LayoutChoice::NoLayout));

    // A static face shows no axes, and CFF2 axes cannot be pinned.
    QStringList axes;
    for (const QString &path : {TestFonts::dejaVuSans(), dir.filePath("variable.otf")}) {
        face = {path, 0};
        driver.expect([&axes](QWidget *window) {
            const auto *pin = window->findChild<QCheckBox *>("pinAxes");
            axes.append(!pin ? "none" : pin->isEnabled() ? "pinnable" : "fixed");
            qobject_cast<QDialog *>(window)->reject();
        });
        button.click();
    }
    QCOMPARE(axes, QStringList({"none", "fixed"}));
    QVERIFY(driver.unexpected().isEmpty());
    QVERIFY(noWindowLeftOpen());
}

void TestSubsetOptions::buttonFollowsTheFace_data()
{
    QTest::addColumn<int>("english");
    QTest::addColumn<bool>("dropHinting");    // besides pinning the axes
    QTest::addColumn<QString>("forStatic");   // the label once a static font is chosen
    QTest::addColumn<QString>("forVariable"); // and back on the variable one
    QTest::newRow("only pins") << 1 << false << "Options..."
                               << "Options (changed)...";
    QTest::newRow("only pins, Chinese") << 0 << false << "选项..."
                                        << "选项（已更改）...";
    QTest::newRow("pins and no hinting") << 1 << true << "Options (changed)..."
                                         << "Options (changed)...";
}

// The label and what a run takes describe the face on show, whichever face
// the options were set for.
void TestSubsetOptions::buttonFollowsTheFace()
{
    QFETCH(int, english);
    QFETCH(bool, dropHinting);
    QFETCH(QString, forStatic);
    QFETCH(QString, forVariable);
    const FontFace variable{dir.filePath("variable.ttf"), 0}, fixed{TestFonts::dejaVuSans(), 0};
    VectorFontClipDialog dialog(english);
    auto *path = dialog.findChild<QLineEdit *>("fontPathEdit");
    auto *button = dialog.findChild<SubsetOptionsButton *>("subsetOptions");
    path->setText(variable.path);
    ModalDriver driver;
    driver.expect([dropHinting](QWidget *window) {
        window->findChild<QCheckBox *>("pinAxes")->click();
        window->findChild<QCheckBox *>("dropHinting")->setChecked(dropHinting);
        qobject_cast<QDialog *>(window)->accept();
    });
    button->click();

    path->setText(fixed.path);
    QCOMPARE(button->text(), forStatic);
    QCOMPARE(button->optionsFor(fixed) == SubsetOptions(), !dropHinting);
    // What the options show for it is what a run takes.
    bool shownHinting = !dropHinting;
    driver.expect([&shownHinting](QWidget *window) {
        shownHinting = window->findChild<QCheckBox *>("dropHinting")->isChecked();
        QVERIFY(!window->findChild<QCheckBox *>("pinAxes"));
        qobject_cast<QDialog *>(window)->reject();
    });
    button->click();
    QCOMPARE(shownHinting, dropHinting);

    path->setText(variable.path);
    QCOMPARE(button->text(), forVariable);
    QCOMPARE(button->optionsFor(variable).pins.size(), 2);
    QVERIFY(driver.unexpected().isEmpty());
}

QTEST_MAIN(TestSubsetOptions)
#include "tst_subsetoptions.moc"
