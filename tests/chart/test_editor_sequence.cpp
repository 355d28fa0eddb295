// Opening the editors: double clicks on the elements, the create / target /
// show / apply / release sequence, and the helpers the editors share.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QPointer>
#include <QTest>

#include <cmath>
#include <limits>

#include "chart/VxChartBaseAxisEditUnit.h"
#include "chart/VxChartBaseAxisUnit.h"
#include "chart/VxChartBaseLinesEditUnit.h"
#include "chart/VxChartBaseLinesUnit.h"
#include "chart/VxChartBaseTextEditUnit.h"
#include "chart/VxChartBaseTextUnit.h"
#include "support/editor_support.h"

inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

namespace {

// A panel with one element of each kind, as on a chart.
struct PanelFixture : ::testing::Test
{
    QWidget panel;
    VxChartBaseTextClass *caption = nullptr;
    VxChartBaseLinesClass *field = nullptr;
    VxChartBaseAxisClass *axis = nullptr;

    void SetUp() override
    {
        VxChartInstallEditors();
        panel.resize(400, 300);
        field = new VxChartBaseLinesClass(&panel);
        field->SetBounds(60, 20, 300, 200);
        axis = new VxChartBaseAxisClass(&panel);
        axis->SetLength(320);
        axis->SetCenterPointLeft(40);
        axis->SetCenterPointTop(260);
        caption = new VxChartBaseTextClass(&panel);
        caption->SetText(QStringLiteral("<U>Y Caption"));
        caption->SetBounds(0, 50, caption->Width(), caption->Height());
        panel.show();
    }

    static void DoubleClick(QWidget *w) { QTest::mouseDClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2)); }
};

} // namespace

TEST_F(PanelFixture, DoubleClickOnACaptionOpensTheTextEditorAndOkChangesIt)
{
    EditorScriptedExec exec([](QDialog &d) {
        auto *w = qobject_cast<TVxChartBaseTextEditWindow *>(&d);
        EXPECT_NE(w, nullptr);
        if (!w)
            return int(QDialog::Rejected);
        // the memo shows the caption; the user types a new one
        EXPECT_EQ(w->Memo1->toPlainText(), "<U>Y Caption");
        w->Memo1->selectAll();
        QTest::keyClicks(w->Memo1, QStringLiteral("<B>T</B> [K]"));
        QTest::mouseClick(w->ButtonOK, Qt::LeftButton);
        return w->result();
    });
    DoubleClick(caption);
    EXPECT_EQ(exec.Runs, 1);
    EXPECT_EQ(exec.LastTitle, "Edit Text Field");
    EXPECT_EQ(caption->Text(), "<B>T</B> [K]");
    // released after use
    EXPECT_TRUE(caption->findChildren<QDialog *>().isEmpty());
}

TEST_F(PanelFixture, DoubleClicksOpenTheEditorOfEachKind)
{
    QStringList titles;
    QList<QWidget *> targets;
    EditorScriptedExec exec([&](QDialog &d) {
        titles << d.windowTitle();
        if (auto *t = qobject_cast<TVxChartBaseTextEditWindow *>(&d))
            targets << t->Target();
        else if (auto *l = qobject_cast<TVxChartBaseLinesEditWindow *>(&d))
            targets << l->Target();
        else if (auto *a = qobject_cast<TVxChartBaseAisEditWindow *>(&d))
            targets << a->Target();
        return int(QDialog::Rejected);
    });
    DoubleClick(field);
    DoubleClick(axis);
    DoubleClick(caption);
    EXPECT_EQ(titles, (QStringList{"Edit the Chart", "Edit The Axis Properties", "Edit Text Field"}));
    EXPECT_EQ(targets, (QList<QWidget *>{field, axis, caption}));
}

TEST_F(PanelFixture, ElementsThatAreNotAutoEditableOpenNothing)
{
    caption->SetAutoEditable(false);
    field->SetAutoEditable(false);
    axis->SetAutoEditable(false);
    EditorScriptedExec exec([](QDialog &) { return int(QDialog::Accepted); });
    DoubleClick(field);
    DoubleClick(axis);
    DoubleClick(caption);
    EXPECT_EQ(exec.Runs, 0);
}

TEST_F(PanelFixture, ADisabledPanelOpensNothing)
{
    panel.setEnabled(false);
    EditorScriptedExec exec([](QDialog &) { return int(QDialog::Accepted); });
    DoubleClick(caption);
    DoubleClick(axis);
    EXPECT_EQ(exec.Runs, 0);
}

TEST_F(PanelFixture, AnElementGoneWhileItsEditorIsOpenIsNotApplied)
{
    EditorScriptedExec exec([&](QDialog &) {
        delete caption; // takes the editor it owns along
        caption = nullptr;
        return int(QDialog::Accepted);
    });
    QPointer<VxChartBaseTextClass> box = caption;
    EXPECT_FALSE(VxChartEditTextBox(*box));
    EXPECT_TRUE(box.isNull());
}

TEST(EditorHelpers, SmallIntegersNormalise)
{
    const std::pair<const char *, int> rows[] = {{"12", 12}, {" 7 ", 7}, {"0", 0},     {"-3", -3},
                                                 {"", 0},    {"-", 0},   {"abc", 0},   {"1a", 0},
                                                 {"1.5", 0}, {"1,5", 0}, {"99999999999", 0}};
    for (const auto &[text, value] : rows)
        EXPECT_EQ(VxChartNormaliseInt(QString::fromLatin1(text)), value) << text;

    QLineEdit e;
    e.setText(QStringLiteral("x"));
    EXPECT_EQ(VxChartNormaliseIntEdit(e), 0);
    EXPECT_EQ(e.text(), "0");
    e.setText(QStringLiteral("05"));
    EXPECT_EQ(VxChartNormaliseIntEdit(e), 5);
    EXPECT_EQ(e.text(), "5");

    EXPECT_EQ(VxChartClampByte(-4), 0);
    EXPECT_EQ(VxChartClampByte(99), 99);
    EXPECT_EQ(VxChartClampByte(300), 255);
}

TEST(EditorHelpers, ValuesReadAndWriteInTheRegionalFormat)
{
    const QLocale before;
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(VxChartReadValue(QStringLiteral(" -2.5 ")), -2.5);
    EXPECT_EQ(VxChartReadValue(QStringLiteral("1E-3")), 0.001);
    EXPECT_FALSE(VxChartReadValue(QStringLiteral("")));
    EXPECT_FALSE(VxChartReadValue(QStringLiteral("1e999")));
    EXPECT_EQ(VxChartValueText(0.1), "0.1");
    EXPECT_EQ(VxChartValueText(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(VxChartValueText(-1234567.0), "-1234567");
    EXPECT_EQ(VxChartValueText(1e20), "1e+20");

    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(VxChartReadValue(QStringLiteral("2,5")), 2.5);
    EXPECT_EQ(VxChartValueText(2.5), "2,5");
    EXPECT_EQ(VxChartValueText(12345.0), "12345");
    // what is written reads back to the same value
    const double v = 1.0 / 7.0;
    EXPECT_NEAR(*VxChartReadValue(VxChartValueText(v)), v, 1e-15);
    QLocale::setDefault(before);
}

TEST(EditorSequence, TheModalStepCanBeReplacedAndRestored)
{
    int runs = 0;
    VxChartEditorExecHook before = VxChartSetEditorExec([&](QDialog &) {
        ++runs;
        return int(QDialog::Rejected);
    });
    QDialog d;
    EXPECT_EQ(VxChartExecEditor(d), QDialog::Rejected);
    EXPECT_EQ(runs, 1);
    VxChartEditorExecHook mine = VxChartSetEditorExec(before);
    EXPECT_TRUE(bool(mine));
}

TEST(EditorChoosers, InstalledChoosersAnswerAndThePlatformsReturn)
{
    VxChartChoosers &platform = VxChartCurrentChoosers();
    {
        EditorFakeChoosers fake;
        EXPECT_EQ(&VxChartCurrentChoosers(), &fake);
        fake.Colors = {QColor(1, 2, 3)};
        EXPECT_EQ(VxChartCurrentChoosers().chooseColor(Qt::white), QColor(1, 2, 3));
        EXPECT_FALSE(VxChartCurrentChoosers().chooseFont(QFont()));
    }
    EXPECT_EQ(&VxChartCurrentChoosers(), &platform);
}
