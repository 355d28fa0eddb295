// The input data dialogs of both geometries (units u2 and u2a).
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>

#include "ui/support/TestProgram.h"
#include "ui/u1.h"
#include "ui/u2.h"
#include "ui/u2a.h"

using namespace resheat;
using namespace resheat::ui;
using namespace resheat::ui::testing;

namespace {

class DataDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        program.app().showMainWindow();
        form1 = program.windows().Form1;
        form2 = program.windows().Form2;
        form2a = program.windows().Form2a;
    }
    void TearDown() override { QLocale::setDefault(savedLocale); }

    void openXY() { form1->dataforxy1->trigger(); }
    void openRZ() { form1->Dataforrz1->trigger(); }

    std::vector<QLineEdit *> boxesXY() const
    {
        auto *f = form2;
        return {f->Edit2, f->Edit3, f->Edit4, f->Edit5, f->Edit6, f->Edit7, f->Edit8,
                f->Edit9, f->Edit10, f->Edit11, f->Edit12, f->Edit13, f->Edit14};
    }
    std::vector<QLineEdit *> boxesRZ() const
    {
        auto *f = form2a;
        return {f->Edit2, f->Edit3, f->Edit5, f->Edit6, f->Edit7, f->Edit8,
                f->Edit9, f->Edit10, f->Edit11, f->Edit12, f->Edit13, f->Edit14};
    }
    QStringList texts(const std::vector<QLineEdit *> &boxes) const
    {
        QStringList list;
        for (auto *box : boxes)
            list << box->text();
        return list;
    }
    // Fills the xy boxes with a valid case: L, w, h, then the rest.
    void typeXY(double length, double width, double thickness)
    {
        const QStringList values = {QString::number(length), QString::number(width), QString::number(thickness),
                                    "7800", "481.32", "87.88", "1.5384E-7", "10", "10", "20", "1500", "15", "1000"};
        const auto boxes = boxesXY();
        for (std::size_t i = 0; i < boxes.size(); ++i)
            boxes[i]->setText(values[static_cast<qsizetype>(i)]);
    }
    void typeRZ(double length, double diameter)
    {
        const QStringList values = {QString::number(length), QString::number(diameter), "7800", "481.32", "87.88",
                                    "1.5384E-7", "10", "10", "20", "1500", "15", "1000"};
        const auto boxes = boxesRZ();
        for (std::size_t i = 0; i < boxes.size(); ++i)
            boxes[i]->setText(values[static_cast<qsizetype>(i)]);
    }
    // The dialog stayed as it was and stored nothing.
    void expectRejected(const DataXY &before)
    {
        EXPECT_EQ(program.state.dataXY, before);
        EXPECT_TRUE(form2->isVisible());
        EXPECT_FALSE(form1->isVisible());
    }

    QLocale savedLocale;
    TestProgram program;
    TForm1 *form1 = nullptr;
    TForm2 *form2 = nullptr;
    TForm2a *form2a = nullptr;
};

TEST_F(DataDialogs, XYDialogShowsCaptionsLabelsAndTheStoredCase)
{
    DataXY d = SteelBar();
    d.resistivity = 0.000000017;
    d.supplyVoltage = 2E20;
    d.voltageDrop = -1.5E-6;
    program.state.dataXY = d;
    openXY();

    EXPECT_EQ(form2->windowTitle(), "Data for xy geometry");
    EXPECT_EQ(form2->pos(), QPoint(20, 20));
    EXPECT_EQ(form2->Button1->text(), "&OK");
    EXPECT_EQ(form2->Button2->text(), "&Cancel");
    const QStringList labels = {
        form2->Label1->text(),  form2->Label2->text(),  form2->Label3->text(),  form2->Label4->text(),
        form2->Label5->text(),  form2->Label6->text(),  form2->Label7->text(),  form2->Label8->text(),
        form2->Label9->text(),  form2->Label10->text(), form2->Label11->text(), form2->Label12->text(),
        form2->Label13->text(), form2->Label14->text()};
    EXPECT_EQ(labels, (QStringList{"Material", "Length of charge       [m]", "Width of charge        [m]",
                                   "Thickness of charge    [m]", "Density            [kg/m3]",
                                   "Specific heat   [Ws/(kgK)]", "Heat conductivity [W/(mK)]",
                                   "Resistivity         [om*m]", "Supply voltage         [V]",
                                   "Voltage drop           [%]", "Start temperature     [oC]",
                                   "Finish temperature    [oC]", "Alfa coefficient [W/(m2K)]",
                                   "Max contact current    [A]"}));
    EXPECT_EQ(form2->ComboBox1->currentText(), "steel");
    EXPECT_EQ(texts(boxesXY()), (QStringList{"1", "0.05", "0.05", "7800", "481.32", "87.88", "1.7E-8", "2E20",
                                             "-1.5E-6", "20", "1500", "15", "1000"}));
}

TEST_F(DataDialogs, RZDialogHasNoThicknessBox)
{
    program.state.dataRZ = SteelRod();
    openRZ();
    EXPECT_EQ(form2a->windowTitle(), "Data for rz geometry");
    EXPECT_EQ(form2a->pos(), QPoint(20, 20));
    EXPECT_EQ(form2a->Label3->text(), "Diameter of charge     [m]");
    EXPECT_EQ(form2a->Label5->text(), "Density            [kg/m3]");
    EXPECT_EQ(form2a->Label14->text(), "Max contact current    [A]");
    EXPECT_EQ(form2a->findChild<QLineEdit *>("Edit4"), nullptr);
    EXPECT_EQ(texts(boxesRZ()), (QStringList{"1", "0.05", "7800", "481.32", "87.88", "1.5384E-7", "10", "10",
                                             "20", "1500", "15", "1000"}));
}

TEST_F(DataDialogs, BoxesLieInThreeColumnsWithTheButtonsBelowTheThird)
{
    openXY();
    const int col1 = form2->Edit2->x(), col2 = form2->Edit6->x(), col3 = form2->Edit11->x();
    EXPECT_LT(col1, col2);
    EXPECT_LT(col2, col3);
    for (QWidget *w : std::initializer_list<QWidget *>{form2->ComboBox1, form2->Edit3, form2->Edit4, form2->Edit5})
        EXPECT_EQ(w->x(), col1);
    for (QWidget *w : std::initializer_list<QWidget *>{form2->Edit7, form2->Edit8, form2->Edit9, form2->Edit10})
        EXPECT_EQ(w->x(), col2);
    for (QWidget *w : std::initializer_list<QWidget *>{form2->Edit12, form2->Edit13, form2->Edit14})
        EXPECT_EQ(w->x(), col3);
    // Labels stand above their boxes.
    EXPECT_EQ(form2->Label7->x(), form2->Edit7->x());
    EXPECT_LT(form2->Label7->y(), form2->Edit7->y());
    EXPECT_EQ(form2->Button1->x(), col3);
    EXPECT_GT(form2->Button1->y(), form2->Edit14->y());
    EXPECT_GT(form2->Button2->y(), form2->Button1->y());
}

TEST_F(DataDialogs, TabOrderRunsFromOKOverTheBoxesToTheComboBox)
{
    auto chain = [](QWidget *start, const QList<QWidget *> &ours) {
        QList<QWidget *> order;
        QWidget *w = start;
        do {
            if (ours.contains(w) && !order.contains(w))
                order << w;
            w = w->nextInFocusChain();
        } while (w != start);
        return order;
    };
    QList<QWidget *> expectedXY = {form2->Button1, form2->Button2};
    for (auto *box : boxesXY())
        expectedXY << box;
    expectedXY << form2->ComboBox1;
    EXPECT_EQ(chain(form2->Button1, expectedXY), expectedXY);

    QList<QWidget *> expectedRZ = {form2a->Button1, form2a->Button2};
    for (auto *box : boxesRZ())
        expectedRZ << box;
    expectedRZ << form2a->ComboBox1;
    EXPECT_EQ(chain(form2a->Button1, expectedRZ), expectedRZ);

    openXY();
    EXPECT_EQ(form2->focusWidget(), form2->Button1);
}

TEST_F(DataDialogs, ComboBoxListHoldsTheThreePresetsHoweverOftenShown)
{
    for (int i = 0; i < 4; ++i) {
        openXY();
        form2->Button2->click();
        openRZ();
        form2a->close();
    }
    for (QComboBox *combo : {form2->ComboBox1, form2a->ComboBox1}) {
        ASSERT_EQ(combo->count(), 3);
        EXPECT_EQ(combo->itemText(0), "Cu");
        EXPECT_EQ(combo->itemText(1), "steel");
        EXPECT_EQ(combo->itemText(2), "aluminium");
        EXPECT_TRUE(combo->isEditable());
    }
    // Pressing Enter on a typed name does not add it to the list.
    openXY();
    form2->ComboBox1->lineEdit()->clear();
    QTest::keyClicks(form2->ComboBox1->lineEdit(), "brass");
    QTest::keyClick(form2->ComboBox1->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(form2->ComboBox1->count(), 3);
}

TEST_F(DataDialogs, PickingAPresetChangesExactlySixBoxesAndStoresNothing)
{
    openXY();
    const auto boxes = boxesXY();
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->setText(QString("x%1").arg(i + 2));
    form2->ComboBox1->setCurrentIndex(1); // "steel"
    EXPECT_EQ(texts(boxes), (QStringList{"x2", "x3", "x4", "7800", "481.32", "87.88", "1.5384E-7", "x9", "x10",
                                         "x11", "1500", "15", "x14"}));
    EXPECT_EQ(program.state.dataXY, DataXY{});

    form2->ComboBox1->setCurrentIndex(2); // "aluminium": the resistivity of copper
    EXPECT_EQ(form2->Edit8->text(), "2.67E-8");
    EXPECT_EQ(form2->Edit5->text(), "2700");
    EXPECT_EQ(form2->Edit12->text(), "600");

    openRZ();
    form2a->ComboBox1->setCurrentIndex(0); // "Cu"
    EXPECT_EQ(texts(boxesRZ()), (QStringList{"0", "0", "8930", "389.88", "393.39", "2.67E-8", "0", "0", "0",
                                             "700", "15", "0"}));
    EXPECT_EQ(program.state.dataRZ, DataRZ{});
}

TEST_F(DataDialogs, TypedNamesFillOnlyWhenTheyAreThePickedPresetsName)
{
    openXY();
    QLineEdit *name = form2->ComboBox1->lineEdit();
    name->clear();
    QTest::keyClicks(name, "Cu"); // no entry picked yet
    EXPECT_EQ(form2->Edit5->text(), "0");

    form2->ComboBox1->setCurrentIndex(1);
    EXPECT_EQ(form2->Edit5->text(), "7800");
    form2->Edit5->setText("0");
    QTest::keyClick(name, Qt::Key_End);
    QTest::keyClicks(name, "2");
    EXPECT_EQ(form2->ComboBox1->currentText(), "steel2");
    EXPECT_EQ(form2->Edit5->text(), "0");
    name->selectAll();
    QTest::keyClicks(name, "Steel"); // case matters
    EXPECT_EQ(form2->Edit5->text(), "0");
    name->selectAll();
    QTest::keyClicks(name, "steel"); // the picked entry's name again
    EXPECT_EQ(form2->Edit5->text(), "7800");
}

TEST_F(DataDialogs, OnlyAChangedTextOrAPickFillsNotLeavingTheBox)
{
    openXY();
    QLineEdit *name = form2->ComboBox1->lineEdit();
    name->clear();
    QTest::keyClicks(name, "Cu");
    QTest::keyClick(name, Qt::Key_Tab); // leaving the box ends the editing
    EXPECT_EQ(form2->Edit5->text(), "0");
    EXPECT_EQ(form2->Edit8->text(), "0");

    // The entry picked again from the list after the boxes were edited.
    form2->ComboBox1->setCurrentIndex(1);
    form2->Edit5->setText("7000");
    form2->ComboBox1->showPopup();
    QAbstractItemView *list = form2->ComboBox1->view();
    list->setCurrentIndex(list->model()->index(1, 0));
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(form2->ComboBox1->currentText(), "steel");
    EXPECT_EQ(form2->Edit5->text(), "7800");
}

TEST_F(DataDialogs, OKStoresTheWholeCaseAndBringsBackTheMainWindow)
{
    openXY();
    form2->ComboBox1->setEditText("my steel");
    typeXY(1, 0.05, 0.05);
    QTest::mouseClick(form2->Button1, Qt::LeftButton);

    DataXY expected = SteelBar();
    expected.name.set("my steel");
    EXPECT_EQ(program.state.dataXY, expected);
    EXPECT_TRUE(program.desktop.boxes.empty()) << program.desktop.boxLines().join('\n').toStdString();
    EXPECT_EQ(TestProgram::visibleWindows(), QList<QWidget *>{form1});
    EXPECT_TRUE(form1->oblxy->isEnabled());
}

TEST_F(DataDialogs, TypingIntoTheBoxesWorksAsSetting)
{
    openRZ();
    const auto boxes = boxesRZ();
    const QStringList typed = {" 2 ", "0.5E-1", "7800", "481.32", "87.88", "1.5384e-7", "+10", "10.", "-20",
                               "1500", "15", "1000"};
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        boxes[i]->clear();
        QTest::keyClicks(boxes[i], typed[static_cast<qsizetype>(i)]);
    }
    form2a->ComboBox1->setCurrentIndex(1);
    // the preset pick overwrote six boxes with the same values
    QTest::mouseClick(form2a->Button1, Qt::LeftButton);
    DataRZ expected = SteelRod();
    expected.length = 2;
    expected.startTemp = -20;
    EXPECT_EQ(program.state.dataRZ, expected);
    EXPECT_TRUE(form1->oblrz->isEnabled());
}

TEST_F(DataDialogs, MaterialNameIsCutToTwelveOneByteCharacters)
{
    openXY();
    typeXY(1, 0.05, 0.05);
    form2->ComboBox1->setEditText("stainless steel 304");
    form2->Button1->click();
    EXPECT_EQ(program.state.dataXY.name.str(), "stainless st");

    // Latin-1 letters are kept; others become '?', one per character.
    openXY();
    form2->ComboBox1->setEditText(QString::fromUtf8("Stahl\u00e4 \u017cel\U0001F525x"));
    form2->Button1->click();
    EXPECT_EQ(program.state.dataXY.name.str(), std::string("Stahl\xe4 ?el?x"));
    openXY();
    EXPECT_EQ(form2->ComboBox1->currentText(), QString::fromUtf8("Stahl\u00e4 ?el?x"));
}

TEST_F(DataDialogs, ABoxWithoutANumberStopsOKWithOneMessage)
{
    const char *bad[] = {"", "abc", "1,5", "1e400", "nan", "inf", "1.2.3", "1 000"};
    for (const char *text : bad) {
        program.state.dataXY = DataXY{};
        openXY();
        typeXY(1, 0.05, 0.05);
        form2->Edit9->setText(text);
        form2->Edit12->setText("also bad");
        program.desktop.clear();
        form2->Button1->click();
        EXPECT_EQ(program.desktop.boxLines(), QStringList{"Input Error|Incorrect numerical format"}) << text;
        EXPECT_EQ(program.desktop.boxes.at(0).kind, FakeDesktop::BoxKind::Message);
        expectRejected(DataXY{});
        // Texts stay as typed.
        EXPECT_EQ(form2->Edit9->text(), QString::fromLatin1(text));
        EXPECT_EQ(form2->Edit2->text(), "1");
        form2->Button2->click();
    }
}

TEST_F(DataDialogs, XYProportionsNeedATenthOfTheLengthAboveWidthAndThickness)
{
    const struct {
        double length, width, thickness;
        bool accepted;
    } rows[] = {
        {1, 0.05, 0.05, true},  {1, 0.1, 0.05, false},     {1, 0.05, 0.1, false}, {10, 1, 0.5, false},
        {10, 0.5, 1, false},    {1, 0.0999, 0.0999, true}, {1, 0, 0, true},       {0, 0, 0, false},
        {-1, -1, -1, true}, // no field but the proportions is tested
    };
    for (const auto &row : rows) {
        program.state.dataXY = DataXY{};
        openXY();
        typeXY(row.length, row.width, row.thickness);
        program.desktop.clear();
        form2->Button1->click();
        if (row.accepted) {
            EXPECT_TRUE(program.desktop.boxes.empty()) << row.length << ' ' << row.width << ' ' << row.thickness;
            EXPECT_EQ(program.state.dataXY.width, row.width);
            EXPECT_FALSE(form2->isVisible());
        } else {
            EXPECT_EQ(program.desktop.boxLines(), (QStringList{"Input Error|Bad relations length : width, thickness",
                                                               "Input Error|Length must be >= 10 * width or thickness"}))
                << row.length << ' ' << row.width << ' ' << row.thickness;
            expectRejected(DataXY{});
            form2->close();
        }
    }
}

TEST_F(DataDialogs, RZProportionsNeedHalfTheLengthAboveTheDiameter)
{
    const struct {
        double length, diameter;
        bool accepted;
    } rows[] = {{1, 0.5, false}, {1, 0.49, true}, {1, 0.6, false}, {2, 0.999, true}};
    for (const auto &row : rows) {
        program.state.dataRZ = DataRZ{};
        openRZ();
        typeRZ(row.length, row.diameter);
        program.desktop.clear();
        form2a->Button1->click();
        if (row.accepted) {
            EXPECT_TRUE(program.desktop.boxes.empty()) << row.length << ' ' << row.diameter;
            EXPECT_EQ(program.state.dataRZ.diameter, row.diameter);
        } else {
            EXPECT_EQ(program.desktop.boxLines(),
                      QStringList{"Input Error|Bad relations length/diameter. Length must be > 2*diameter"});
            EXPECT_EQ(program.state.dataRZ, DataRZ{});
            EXPECT_TRUE(form2a->isVisible());
            form2a->close();
        }
    }
}

TEST_F(DataDialogs, CancelRestoresTheBoxesAndStoresNothing)
{
    program.state.dataXY = SteelBar();
    openXY();
    form2->Edit2->setText("3");
    form2->ComboBox1->setEditText("other");
    form2->Button2->click();
    EXPECT_EQ(program.state.dataXY, SteelBar());
    EXPECT_EQ(form2->Edit2->text(), "1");
    EXPECT_EQ(form2->ComboBox1->currentText(), "steel");
    EXPECT_EQ(TestProgram::visibleWindows(), QList<QWidget *>{form1});
}

TEST_F(DataDialogs, EnterPressesOKAndEscapeCancelFromAnyControl)
{
    enum Effect { Stored, Cancelled };
    struct Case {
        const char *control;
        Qt::Key key;
        Effect effect;
    };
    const Case cases[] = {
        {"Edit2", Qt::Key_Return, Stored},       {"Edit14", Qt::Key_Enter, Stored},
        {"ComboBox1", Qt::Key_Return, Stored},   {"Button1", Qt::Key_Return, Stored},
        {"Edit7", Qt::Key_Escape, Cancelled},    {"ComboBox1", Qt::Key_Escape, Cancelled},
        {"Button1", Qt::Key_Escape, Cancelled},  {"Button2", Qt::Key_Return, Cancelled},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.control) + " key " + std::to_string(c.key));
        program.state.dataXY = DataXY{};
        openXY();
        typeXY(1, 0.05, 0.05);
        form2->ComboBox1->setEditText("steel");
        QWidget *control = form2->findChild<QWidget *>(c.control);
        ASSERT_TRUE(control);
        if (auto *combo = qobject_cast<QComboBox *>(control))
            control = combo->lineEdit();
        control->setFocus();
        QTest::keyClick(control, c.key);

        EXPECT_EQ(program.state.dataXY, c.effect == Stored ? SteelBar() : DataXY{});
        EXPECT_EQ(form2->Edit2->text(), c.effect == Stored ? "1" : "0");
        EXPECT_EQ(TestProgram::visibleWindows(), QList<QWidget *>{form1});
    }
    EXPECT_TRUE(program.desktop.boxes.empty()) << program.desktop.boxLines().join('\n').toStdString();

    // A refused case keeps the dialog open, as OK does.
    openRZ();
    typeRZ(1, 0.5);
    QTest::keyClick(form2a->Edit3, Qt::Key_Return);
    EXPECT_EQ(program.desktop.boxLines(),
              QStringList{"Input Error|Bad relations length/diameter. Length must be > 2*diameter"});
    EXPECT_TRUE(form2a->isVisible());
}

TEST_F(DataDialogs, CloseBoxKeepsTheTypedTextsUntilTheNextShowing)
{
    openXY();
    form2->Edit2->setText("3");
    program.state.dataXY = SteelBar(); // changed meanwhile, e.g. by a file
    form2->close();
    EXPECT_EQ(TestProgram::visibleWindows(), QList<QWidget *>{form1});
    EXPECT_TRUE(form1->oblxy->isEnabled()); // the main window recomputed its menu
    EXPECT_EQ(form2->Edit2->text(), "3");
    EXPECT_EQ(program.state.dataXY, SteelBar());
    openXY();
    EXPECT_EQ(form2->Edit2->text(), "1");
}

TEST_F(DataDialogs, CommaLocaleShowsAndReadsCommas)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    program.state.dataRZ = SteelRod();
    openRZ();
    EXPECT_EQ(form2a->Edit3->text(), "0,05");
    EXPECT_EQ(form2a->Edit8->text(), "1,5384E-7");
    EXPECT_EQ(form2a->Edit6->text(), "481,32");

    form2a->Edit3->setText("0,04");
    form2a->Button1->click();
    EXPECT_EQ(program.state.dataRZ.diameter, 0.04);

    openRZ();
    form2a->Edit3->setText("0.03");
    form2a->Button1->click();
    EXPECT_EQ(program.desktop.boxLines(), QStringList{"Input Error|Incorrect numerical format"});
    EXPECT_EQ(program.state.dataRZ.diameter, 0.04);
}

} // namespace
