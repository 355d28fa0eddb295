#include "chart/VxChartBaseLinesEditUnit.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "chart/VxChartBaseLinesUnit.h"
#include "chart/VxChartChoosers.h"
#include "chart/VxUniChart2DEditorUnit.h"

namespace {

const QString kHide = QStringLiteral("Hide");
const QString kShow = QStringLiteral("Show");
const QString kSetTransparent = QStringLiteral("Set Transparent");
const QString kSetOpaque = QStringLiteral("Set Opaque");

// Which colour of a column a button chooses.
enum ColumnColor { PointColor, LineColor, ErrColor };

// Item index of a reference list for a column reference: the first item
// stands for none (-1); references outside the list show as none.
int ReferenceItem(int reference, int lineCount)
{
    return reference >= 0 && reference < lineCount ? reference + 1 : 0;
}

} // namespace

TVxChartBaseLinesEditWindow::TVxChartBaseLinesEditWindow(QWidget *owner) : VxChartEditWindow(owner)
{
    setWindowTitle(QStringLiteral("Edit the Chart"));
    setModal(true);

    auto button = [this](const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setAutoDefault(false);
        return b;
    };
    auto label = [this](const char *caption) { return new QLabel(QString::fromLatin1(caption), this); };

    PageControl1 = new QTabWidget(this);

    // Page "Colors/visibility"
    auto *colors = new QWidget;
    auto *colorGrid = new QGridLayout(colors);
    struct Row
    {
        const char *caption;
        QFrame **swatch;
        QPushButton **button;
    };
    const Row rows[] = {{"Border ->", &ShapeBorder, &ButtonBorderColor},
                        {"X color", &ShapeX, &ButtonXColor},
                        {"Y color", &ShapeY, &ButtonYColor},
                        {"Y2 color", &ShapeY2, &ButtonY2Color},
                        {"Back Color", &ShapeBack, &ButtonBackColor}};
    int r = 0;
    for (const Row &row : rows) {
        *row.swatch = VxChartMakeSwatch(colors);
        *row.button = button(QStringLiteral("Color"));
        colorGrid->addWidget(label(row.caption), r, 0);
        colorGrid->addWidget(*row.swatch, r, 1);
        colorGrid->addWidget(*row.button, r, 2);
        QFrame *swatch = *row.swatch;
        connect(*row.button, &QPushButton::clicked, this, [this, swatch] { ChooseFieldColor(swatch); });
        ++r;
    }
    ButtonGrid = button(kHide);
    ButtonTransparent = button(kSetTransparent);
    colorGrid->addWidget(label("Grid"), r, 0);
    colorGrid->addWidget(ButtonGrid, r, 1, 1, 2);
    ++r;
    colorGrid->addWidget(label("Field"), r, 0);
    colorGrid->addWidget(ButtonTransparent, r, 1, 1, 2);
    colorGrid->setRowStretch(r + 1, 1);
    colorGrid->setColumnStretch(3, 1);
    connect(ButtonGrid, &QPushButton::clicked, this, &TVxChartBaseLinesEditWindow::ButtonGridClick);
    connect(ButtonTransparent, &QPushButton::clicked, this, &TVxChartBaseLinesEditWindow::ButtonTransparentClick);
    PageControl1->addTab(colors, QStringLiteral("Colors/visibility"));

    // Page "Lines properties"
    auto *lines = new QWidget;
    auto *lineGrid = new QGridLayout(lines);
    auto combo = [lines](const QStringList &items) {
        auto *c = new QComboBox(lines);
        c->addItems(items);
        return c;
    };
    ComboBox1 = combo({});
    ComboType = combo({"X Data", "Y Data", "Y2 Data", "Offset Data"});
    ComboStyle = combo({"None", "Line", "Spline"});
    ComboPointStyle = combo({"None", "Circle", "Square", "Triangle", "Cross", "Donut", "Dimond", "Dot"});
    ComboErrorStyle = combo({"None", "Cross", "Rect"});
    ComboXPlusErr = combo({});
    ComboXMinusErr = combo({});
    ComboYPlusErr = combo({});
    ComboYMinusErr = combo({});
    ComboXLine = combo({});
    EditPointSize = new QLineEdit(lines);
    EditPointSize->setMaxLength(2);
    EditPointSize->setMaximumWidth(50);
    EditLineName = new QLineEdit(lines);
    EditListName = new QLineEdit(lines);
    ButtonPointColor = button(QStringLiteral("Point Color"));
    ButtonLineColor = button(QStringLiteral("Line Color"));
    ButtonErrColor = button(QStringLiteral("Err Color"));
    ShapePoint = VxChartMakeSwatch(lines);
    ShapeLine = VxChartMakeSwatch(lines);
    ShapeErr = VxChartMakeSwatch(lines);

    lineGrid->addWidget(label("Line ->"), 0, 0);
    lineGrid->addWidget(ComboBox1, 0, 1, 1, 3);
    const std::pair<const char *, QComboBox *> left[] = {{"Type ->", ComboType},
                                                         {"Style ->", ComboStyle},
                                                         {"Point Style ->", ComboPointStyle},
                                                         {"Error style ->", ComboErrorStyle},
                                                         {"X line ->", ComboXLine}};
    const std::pair<const char *, QComboBox *> right[] = {{"X + Err Line", ComboXPlusErr},
                                                          {"X - Err Line", ComboXMinusErr},
                                                          {"Y + Err Line", ComboYPlusErr},
                                                          {"Y - Err Line", ComboYMinusErr}};
    for (int i = 0; i < 5; ++i) {
        lineGrid->addWidget(label(left[i].first), i + 1, 0);
        lineGrid->addWidget(left[i].second, i + 1, 1);
    }
    for (int i = 0; i < 4; ++i) {
        lineGrid->addWidget(label(right[i].first), i + 1, 2);
        lineGrid->addWidget(right[i].second, i + 1, 3);
    }
    auto *colorRow = new QHBoxLayout;
    colorRow->addWidget(ShapePoint);
    colorRow->addWidget(ButtonPointColor);
    colorRow->addWidget(ShapeLine);
    colorRow->addWidget(ButtonLineColor);
    colorRow->addWidget(ShapeErr);
    colorRow->addWidget(ButtonErrColor);
    colorRow->addStretch();
    lineGrid->addLayout(colorRow, 6, 0, 1, 4);
    lineGrid->addWidget(label("Point size :"), 7, 0);
    lineGrid->addWidget(EditPointSize, 7, 1);
    lineGrid->addWidget(label("Line name"), 8, 0);
    lineGrid->addWidget(EditLineName, 8, 1, 1, 3);
    lineGrid->addWidget(label("Line list name :"), 9, 0);
    lineGrid->addWidget(EditListName, 9, 1, 1, 3);
    lineGrid->setRowStretch(10, 1);
    PageControl1->addTab(lines, QStringLiteral("Lines properties"));

    // Each control acts on the chosen column of the private copy at once.
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, &TVxChartBaseLinesEditWindow::ComboBox1Change);
    auto onColumn = [this](auto apply) {
        return [this, apply](int index) {
            VxChartBaseLine *line = Column();
            if (!m_filling && line && index >= 0)
                apply(*line, index);
        };
    };
    connect(ComboType, &QComboBox::activated, this,
            onColumn([](VxChartBaseLine &l, int i) { l.SetDataType(quint8(i)); }));
    connect(ComboStyle, &QComboBox::activated, this,
            onColumn([](VxChartBaseLine &l, int i) { l.SetLineStyle(quint8(i)); }));
    connect(ComboPointStyle, &QComboBox::activated, this,
            onColumn([](VxChartBaseLine &l, int i) { l.SetPointStyle(quint8(i)); }));
    connect(ComboErrorStyle, &QComboBox::activated, this,
            onColumn([](VxChartBaseLine &l, int i) { l.SetErrorStyle(quint8(i)); }));
    connect(ComboXPlusErr, &QComboBox::activated, this,
            onColumn([](VxChartBaseLine &l, int i) { l.SetXPlusErrLine(i - 1); }));
    connect(ComboXMinusErr, &QComboBox::activated, this,
            onColumn([](VxChartBaseLine &l, int i) { l.SetXMinusErrLine(i - 1); }));
    connect(ComboYPlusErr, &QComboBox::activated, this,
            onColumn([](VxChartBaseLine &l, int i) { l.SetYPlusErrLine(i - 1); }));
    connect(ComboYMinusErr, &QComboBox::activated, this,
            onColumn([](VxChartBaseLine &l, int i) { l.SetYMinusErrLine(i - 1); }));
    connect(ComboXLine, &QComboBox::activated, this,
            onColumn([](VxChartBaseLine &l, int i) { l.SetXLine(i - 1); }));
    connect(ButtonPointColor, &QPushButton::clicked, this, [this] { ChooseColumnColor(PointColor); });
    connect(ButtonLineColor, &QPushButton::clicked, this, [this] { ChooseColumnColor(LineColor); });
    connect(ButtonErrColor, &QPushButton::clicked, this, [this] { ChooseColumnColor(ErrColor); });
    connect(EditPointSize, &QLineEdit::textEdited, this, [this] {
        const int size = VxChartClampByte(VxChartNormaliseIntEdit(*EditPointSize));
        if (VxChartBaseLine *line = Column(); line && !m_filling)
            line->SetPointSize(quint8(size));
    });
    connect(EditLineName, &QLineEdit::textEdited, this, [this](const QString &name) {
        VxChartBaseLine *line = Column();
        if (!line || m_filling)
            return;
        line->SetLineName(name);
        FillColumnLists();
    });
    connect(EditListName, &QLineEdit::textEdited, this, [this](const QString &name) {
        if (!m_filling)
            Lines()->SetListName(name);
    });

    // Preview
    auto *previewBox = new QGroupBox(this);
    m_panel = new VxChartPreviewPanel(previewBox);
    auto *previewLayout = new QVBoxLayout(previewBox);
    previewLayout->addWidget(m_panel, 0, Qt::AlignCenter);
    m_preview = new VxChartBaseLinesClass(m_panel);
    m_preview->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_preview->SetAutoEditable(false);
    m_preview->SetSelectable(false);
    m_preview->SetBounds(0, 0, 240, 180);
    m_panel->Fit(m_preview, QSize(260, 200));

    // Buttons
    ButtonOK = new QPushButton(QStringLiteral("OK"), this);
    ButtonCancel = button(QStringLiteral("Cancel"));
    ButtonApply = button(QStringLiteral("Apply"));
    ButtonOK->setDefault(true);
    connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ButtonApply, &QPushButton::clicked, this, &TVxChartBaseLinesEditWindow::ButtonApplyClick);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonOK);
    buttons->addWidget(ButtonCancel);
    buttons->addWidget(ButtonApply);

    auto *top = new QHBoxLayout;
    top->addWidget(PageControl1, 1);
    top->addWidget(previewBox);
    auto *main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addLayout(buttons);

    for (QFrame *s : {ShapeBorder, ShapeX, ShapeY, ShapeY2})
        VxChartSetSwatch(s, Qt::black);
    VxChartSetSwatch(ShapeBack, m_preview->Color());
    for (QFrame *s : {ShapePoint, ShapeLine, ShapeErr})
        VxChartSetSwatch(s, Qt::black);
    ComboBox1Change(-1);
}

TVxChartBaseLinesEditWindow::~TVxChartBaseLinesEditWindow() = default;

VxChartBaseLineArray *TVxChartBaseLinesEditWindow::Lines() const
{
    return m_preview->Lines();
}

int TVxChartBaseLinesEditWindow::CurrentColumn() const
{
    return ComboBox1->currentIndex();
}

VxChartBaseLine *TVxChartBaseLinesEditWindow::Column() const
{
    return Lines()->Line(ComboBox1->currentIndex());
}

void TVxChartBaseLinesEditWindow::FormActivate()
{
    auto *field = qobject_cast<VxChartBaseLinesClass *>(Target());
    if (!field)
        return;
    // The preview takes the field's ranges, grid steps and columns; the
    // columns it holds are the private copy the editor works on.
    m_preview->Assign(*field);
    m_preview->SetAutoEditable(false);
    m_preview->SetSelectable(false);

    VxChartSetSwatch(ShapeBorder, field->ColorGridBorder());
    VxChartSetSwatch(ShapeX, field->ColorGridX());
    VxChartSetSwatch(ShapeY, field->ColorGridY());
    VxChartSetSwatch(ShapeY2, field->ColorGridY2());
    VxChartSetSwatch(ShapeBack, field->Color());
    ButtonGrid->setText(field->ShowGrid() ? kHide : kShow);
    ButtonTransparent->setText(field->Transparent() ? kSetOpaque : kSetTransparent);
    UpdatePreviewField();

    m_filling = true;
    EditListName->setText(Lines()->ListName());
    m_filling = false;
    FillColumnLists();
    ComboBox1->setCurrentIndex(Lines()->LineCount() > 0 ? 0 : -1);
    ComboBox1Change(ComboBox1->currentIndex());
}

QString TVxChartBaseLinesEditWindow::ColumnCaption(int i) const
{
    const VxChartBaseLine *line = Lines()->Line(i);
    return QStringLiteral("%1: %2").arg(i).arg(line ? line->LineName() : QString());
}

void TVxChartBaseLinesEditWindow::FillColumnLists()
{
    const bool filling = m_filling;
    m_filling = true;
    const int count = Lines()->LineCount();
    const int current = ComboBox1->currentIndex();
    QStringList captions;
    for (int i = 0; i < count; ++i)
        captions << ColumnCaption(i);

    // Same count: only the captions change, the choices stay.
    if (ComboBox1->count() == count) {
        for (int i = 0; i < count; ++i)
            ComboBox1->setItemText(i, captions.at(i));
        for (QComboBox *c : {ComboXPlusErr, ComboXMinusErr, ComboYPlusErr, ComboYMinusErr, ComboXLine})
            for (int i = 0; i < count; ++i)
                c->setItemText(i + 1, captions.at(i));
    } else {
        for (QComboBox *c : {ComboXPlusErr, ComboXMinusErr, ComboYPlusErr, ComboYMinusErr, ComboXLine}) {
            c->clear();
            c->addItem(QStringLiteral("None"));
            c->addItems(captions);
        }
        ComboBox1->clear();
        ComboBox1->addItems(captions);
        ComboBox1->setCurrentIndex(current < count ? current : -1);
    }
    m_filling = filling;
}

void TVxChartBaseLinesEditWindow::ComboBox1Change(int)
{
    const VxChartBaseLine *line = Column();
    const QList<QWidget *> page = {ComboType,      ComboStyle,     ComboPointStyle, ComboErrorStyle, ComboXPlusErr,
                                   ComboXMinusErr, ComboYPlusErr,  ComboYMinusErr,  ComboXLine,      ButtonPointColor,
                                   ButtonLineColor, ButtonErrColor, EditPointSize,  EditLineName};
    for (QWidget *w : page)
        w->setEnabled(line != nullptr);
    if (!line)
        return;
    const bool filling = m_filling;
    m_filling = true;
    const int count = Lines()->LineCount();
    ComboType->setCurrentIndex(line->DataType());
    ComboStyle->setCurrentIndex(line->LineStyle());
    ComboPointStyle->setCurrentIndex(line->PointStyle());
    ComboErrorStyle->setCurrentIndex(line->ErrorStyle());
    ComboXPlusErr->setCurrentIndex(ReferenceItem(line->XPlusErrLine(), count));
    ComboXMinusErr->setCurrentIndex(ReferenceItem(line->XMinusErrLine(), count));
    ComboYPlusErr->setCurrentIndex(ReferenceItem(line->YPlusErrLine(), count));
    ComboYMinusErr->setCurrentIndex(ReferenceItem(line->YMinusErrLine(), count));
    ComboXLine->setCurrentIndex(ReferenceItem(line->XLine(), count));
    VxChartSetSwatch(ShapePoint, line->PointColor());
    VxChartSetSwatch(ShapeLine, line->LineColor());
    VxChartSetSwatch(ShapeErr, line->ErrorColor());
    EditPointSize->setText(QString::number(line->PointSize()));
    EditLineName->setText(line->LineName());
    m_filling = filling;
}

void TVxChartBaseLinesEditWindow::WriteColumn()
{
    VxChartBaseLine *line = Column();
    if (line) {
        // A list showing none for a reference it cannot show (out of range)
        // keeps that reference: both mean the same to the field.
        const int count = Lines()->LineCount();
        auto reference = [count](const QComboBox *c, int current) {
            const int chosen = c->currentIndex() - 1;
            const bool currentAbsent = current < 0 || current >= count;
            return chosen < 0 && currentAbsent ? current : chosen;
        };
        if (ComboType->currentIndex() >= 0)
            line->SetDataType(quint8(ComboType->currentIndex()));
        if (ComboStyle->currentIndex() >= 0)
            line->SetLineStyle(quint8(ComboStyle->currentIndex()));
        if (ComboPointStyle->currentIndex() >= 0)
            line->SetPointStyle(quint8(ComboPointStyle->currentIndex()));
        if (ComboErrorStyle->currentIndex() >= 0)
            line->SetErrorStyle(quint8(ComboErrorStyle->currentIndex()));
        line->SetXPlusErrLine(reference(ComboXPlusErr, line->XPlusErrLine()));
        line->SetXMinusErrLine(reference(ComboXMinusErr, line->XMinusErrLine()));
        line->SetYPlusErrLine(reference(ComboYPlusErr, line->YPlusErrLine()));
        line->SetYMinusErrLine(reference(ComboYMinusErr, line->YMinusErrLine()));
        line->SetXLine(reference(ComboXLine, line->XLine()));
        line->SetPointColor(VxChartSwatchColor(ShapePoint));
        line->SetLineColor(VxChartSwatchColor(ShapeLine));
        line->SetErrorColor(VxChartSwatchColor(ShapeErr));
        line->SetPointSize(quint8(VxChartClampByte(VxChartNormaliseIntEdit(*EditPointSize))));
        line->SetLineName(EditLineName->text());
    }
    Lines()->SetListName(EditListName->text());
}

void TVxChartBaseLinesEditWindow::Apply()
{
    auto *field = qobject_cast<VxChartBaseLinesClass *>(Target());
    if (!field)
        return;
    field->SetColorGridBorder(VxChartSwatchColor(ShapeBorder));
    field->SetColorGridX(VxChartSwatchColor(ShapeX));
    field->SetColorGridY(VxChartSwatchColor(ShapeY));
    field->SetColorGridY2(VxChartSwatchColor(ShapeY2));
    field->SetColor(VxChartSwatchColor(ShapeBack));
    field->SetShowGrid(ButtonGrid->text() == kHide);
    field->SetTransparent(ButtonTransparent->text() == kSetOpaque);
    field->SetLines(*Lines());
}

void TVxChartBaseLinesEditWindow::ButtonApplyClick()
{
    WriteColumn();
    Apply();
}

void TVxChartBaseLinesEditWindow::ChooseFieldColor(QFrame *swatch)
{
    if (const auto c = VxChartCurrentChoosers().chooseColor(VxChartSwatchColor(swatch))) {
        VxChartSetSwatch(swatch, *c);
        UpdatePreviewField();
    }
}

void TVxChartBaseLinesEditWindow::ChooseColumnColor(int which)
{
    VxChartBaseLine *line = Column();
    if (!line)
        return;
    QFrame *swatch = which == PointColor ? ShapePoint : which == LineColor ? ShapeLine : ShapeErr;
    const auto c = VxChartCurrentChoosers().chooseColor(VxChartSwatchColor(swatch));
    if (!c)
        return;
    VxChartSetSwatch(swatch, *c);
    if (which == PointColor)
        line->SetPointColor(*c);
    else if (which == LineColor)
        line->SetLineColor(*c);
    else
        line->SetErrorColor(*c);
}

void TVxChartBaseLinesEditWindow::ButtonGridClick()
{
    ButtonGrid->setText(ButtonGrid->text() == kHide ? kShow : kHide);
    UpdatePreviewField();
}

void TVxChartBaseLinesEditWindow::ButtonTransparentClick()
{
    ButtonTransparent->setText(ButtonTransparent->text() == kSetTransparent ? kSetOpaque : kSetTransparent);
    UpdatePreviewField();
}

void TVxChartBaseLinesEditWindow::UpdatePreviewField()
{
    m_preview->SetColorGridBorder(VxChartSwatchColor(ShapeBorder));
    m_preview->SetColorGridX(VxChartSwatchColor(ShapeX));
    m_preview->SetColorGridY(VxChartSwatchColor(ShapeY));
    m_preview->SetColorGridY2(VxChartSwatchColor(ShapeY2));
    m_preview->SetColor(VxChartSwatchColor(ShapeBack));
    m_preview->SetShowGrid(ButtonGrid->text() == kHide);
    m_preview->SetTransparent(ButtonTransparent->text() == kSetOpaque);
}
