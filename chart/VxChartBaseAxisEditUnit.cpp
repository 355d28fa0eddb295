#include "chart/VxChartBaseAxisEditUnit.h"

#include <QEvent>
#include <QGridLayout>
#include <QLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "chart/VxChartBaseAxisUnit.h"
#include "chart/VxChartChoosers.h"
#include "chart/VxUniChart2DEditorUnit.h"

namespace {

// Where an axis draws its labels depends on the half of its panel it lies
// in: the upper half for a horizontal axis, the left half for a vertical one.
bool UpperOrLeftHalf(const VxChartBaseAxisClass &axis)
{
    const QWidget *panel = axis.parentWidget();
    if (!panel)
        return true;
    if (axis.AxisType() == vxcbatHorizontal)
        return panel->height() / 2 >= axis.CenterPointTop();
    return panel->width() / 2 >= axis.CenterPointLeft();
}

} // namespace

TVxChartBaseAisEditWindow::TVxChartBaseAisEditWindow(QWidget *owner) : VxChartEditWindow(owner)
{
    setWindowTitle(QStringLiteral("Edit The Axis Properties"));
    setModal(true);

    m_scroll = new QScrollArea(this);
    m_scroll->setAlignment(Qt::AlignCenter);
    m_panel = new VxChartPreviewPanel;
    m_scroll->setWidget(m_panel);
    m_preview = new VxChartBaseAxisClass(m_panel);
    m_preview->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_preview->SetAutoEditable(false);
    m_preview->SetLength(300);

    auto edit = [this](int maxLength) {
        auto *e = new QLineEdit(this);
        if (maxLength > 0) {
            e->setMaxLength(maxLength);
            e->setMaximumWidth(50);
        }
        return e;
    };
    Edit1 = edit(2);
    Edit2 = edit(2);
    Edit3 = edit(2);
    Edit4 = edit(2);
    Edit5 = edit(0);
    Edit6 = edit(0);
    connect(Edit1, &QLineEdit::textEdited, this, &TVxChartBaseAisEditWindow::Edit1Change);
    connect(Edit2, &QLineEdit::textEdited, this, &TVxChartBaseAisEditWindow::Edit2Change);
    connect(Edit3, &QLineEdit::textEdited, this, &TVxChartBaseAisEditWindow::Edit3Change);
    connect(Edit4, &QLineEdit::textEdited, this, &TVxChartBaseAisEditWindow::Edit4Change);
    Edit5->installEventFilter(this);
    Edit6->installEventFilter(this);

    auto button = [this](const char *caption) {
        auto *b = new QPushButton(QString::fromLatin1(caption), this);
        b->setAutoDefault(false);
        return b;
    };
    ButtonFont = button("font");
    ButtonFontColor = button("font color");
    ButtonColor = button("Color");
    connect(ButtonFont, &QPushButton::clicked, this, &TVxChartBaseAisEditWindow::ButtonFontClick);
    connect(ButtonFontColor, &QPushButton::clicked, this, &TVxChartBaseAisEditWindow::ButtonFontColorClick);
    connect(ButtonColor, &QPushButton::clicked, this, &TVxChartBaseAisEditWindow::ButtonColorClick);

    ButtonOK = new QPushButton(QStringLiteral("OK"), this);
    ButtonOK->setDefault(true);
    ButtonCancel = button("Cancel");
    connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *grid = new QGridLayout;
    auto label = [this](const char *caption) { return new QLabel(QString::fromLatin1(caption), this); };
    grid->addWidget(label("Begin Shift ->"), 0, 0);
    grid->addWidget(Edit1, 0, 1);
    grid->addWidget(label("End Shift ->"), 1, 0);
    grid->addWidget(Edit2, 1, 1);
    grid->addWidget(label("Wanted Main Ticks ->"), 2, 0);
    grid->addWidget(Edit3, 2, 1);
    grid->addWidget(label("Minor Ticks Number ->"), 3, 0);
    grid->addWidget(Edit4, 3, 1);
    grid->setColumnMinimumWidth(2, 20);
    grid->addWidget(label("Begin Value->"), 0, 3);
    grid->addWidget(Edit5, 0, 4);
    grid->addWidget(label("End Value ->"), 1, 3);
    grid->addWidget(Edit6, 1, 4);
    auto *looks = new QHBoxLayout;
    looks->addWidget(ButtonFont);
    looks->addWidget(ButtonFontColor);
    looks->addWidget(ButtonColor);
    grid->addLayout(looks, 3, 3, 1, 2);
    grid->setColumnStretch(4, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonOK);
    buttons->addWidget(ButtonCancel);

    auto *main = new QVBoxLayout(this);
    main->addWidget(m_scroll, 1);
    main->addLayout(grid);
    main->addLayout(buttons);

    PlacePreview();
}

TVxChartBaseAisEditWindow::~TVxChartBaseAisEditWindow() = default;

void TVxChartBaseAisEditWindow::FormActivate()
{
    auto *axis = qobject_cast<VxChartBaseAxisClass *>(Target());
    if (!axis)
        return;
    m_upperOrLeft = UpperOrLeftHalf(*axis);
    m_preview->Assign(*axis);
    m_preview->SetAutoEditable(false);
    m_preview->setVisible(true);
    PlacePreview();
    // Grow at once to show the preview of this target whole.
    layout()->activate();
    resize(size().expandedTo(minimumSize()));

    Edit1->setText(QString::number(axis->BeginShift()));
    Edit2->setText(QString::number(axis->EndShift()));
    Edit3->setText(QString::number(axis->WantedTicks()));
    Edit4->setText(QString::number(axis->MinorTicks()));
    Edit5->setText(VxChartValueText(axis->BeginValue()));
    Edit6->setText(VxChartValueText(axis->EndValue()));
}

void TVxChartBaseAisEditWindow::Apply()
{
    // A value typed and left by pressing OK counts as left.
    Edit5Exit();
    Edit6Exit();
    auto *axis = qobject_cast<VxChartBaseAxisClass *>(Target());
    if (!axis)
        return;
    const VxChartBaseAxisClass &p = *m_preview;
    // A shift the target refuses next to its old other shift is taken once
    // the other shift is in: the preview's pair always fits the length.
    axis->SetBeginShift(p.BeginShift());
    axis->SetEndShift(p.EndShift());
    axis->SetBeginShift(p.BeginShift());
    axis->SetFont(p.Font());
    axis->SetFontColor(p.FontColor());
    axis->SetScaleStyle(p.ScaleStyle());
    axis->SetBeginValue(p.BeginValue());
    axis->SetEndValue(p.EndValue());
    axis->SetWantedTicks(p.WantedTicks());
    axis->SetMinorTicks(p.MinorTicks());
    axis->SetCurrImageList(p.CurrImageList());
    axis->SetColor(p.Color());
    // The preview is always shown and never editable itself: the target
    // keeps its own visibility and AutoEditable, or one OK would end the
    // editing of this axis by double click.
}

bool TVxChartBaseAisEditWindow::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == Edit5 || watched == Edit6) {
        const auto exit = [this, watched] { watched == Edit5 ? Edit5Exit() : Edit6Exit(); };
        if (e->type() == QEvent::FocusOut) {
            exit();
        } else if (e->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(e)->key();
            // Enter takes the value and keeps the editor open.
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                exit();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, e);
}

void TVxChartBaseAisEditWindow::Edit1Change()
{
    m_preview->SetBeginShift(VxChartNormaliseIntEdit(*Edit1));
}

void TVxChartBaseAisEditWindow::Edit2Change()
{
    m_preview->SetEndShift(VxChartNormaliseIntEdit(*Edit2));
}

void TVxChartBaseAisEditWindow::Edit3Change()
{
    m_preview->SetWantedTicks(VxChartClampByte(VxChartNormaliseIntEdit(*Edit3)));
}

void TVxChartBaseAisEditWindow::Edit4Change()
{
    m_preview->SetMinorTicks(VxChartClampByte(VxChartNormaliseIntEdit(*Edit4)));
}

void TVxChartBaseAisEditWindow::Edit5Exit()
{
    if (const auto v = VxChartReadValue(Edit5->text()))
        m_preview->SetBeginValue(*v);
    Edit5->setText(VxChartValueText(m_preview->BeginValue()));
}

void TVxChartBaseAisEditWindow::Edit6Exit()
{
    if (const auto v = VxChartReadValue(Edit6->text()))
        m_preview->SetEndValue(*v);
    Edit6->setText(VxChartValueText(m_preview->EndValue()));
}

void TVxChartBaseAisEditWindow::ButtonFontClick()
{
    if (const auto f = VxChartCurrentChoosers().chooseFont(m_preview->Font())) {
        m_preview->SetFont(*f);
        PlacePreview();
    }
}

void TVxChartBaseAisEditWindow::ButtonFontColorClick()
{
    if (const auto c = VxChartCurrentChoosers().chooseColor(m_preview->FontColor()))
        m_preview->SetFontColor(*c);
}

void TVxChartBaseAisEditWindow::ButtonColorClick()
{
    if (const auto c = VxChartCurrentChoosers().chooseColor(m_preview->Color()))
        m_preview->SetColor(*c);
}

void TVxChartBaseAisEditWindow::PlacePreview()
{
    const int w = m_preview->width();
    const int h = m_preview->height();
    const QSize size = QSize(w + 20, h + 20).expandedTo(QSize(420, 110));
    m_panel->setFixedSize(size);
    if (m_preview->AxisType() == vxcbatHorizontal) {
        m_preview->SetCenterPointLeft((size.width() - w) / 2);
        m_preview->SetCenterPointTop(size.height() / 2 + (m_upperOrLeft ? 0 : 1));
    } else {
        m_preview->SetCenterPointLeft(size.width() / 2 + (m_upperOrLeft ? 0 : 1));
        m_preview->SetCenterPointTop((size.height() - h) / 2 + h);
    }
    // The view shows the whole preview up to a size that still fits a
    // screen; beyond that it scrolls.
    const int frame = 2 * m_scroll->frameWidth();
    m_scroll->setMinimumSize(qMin(size.width() + frame, 760), qMin(size.height() + frame, 520));
    m_preview->update();
}
