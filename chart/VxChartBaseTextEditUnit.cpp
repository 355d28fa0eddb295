#include "chart/VxChartBaseTextEditUnit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTextCursor>
#include <QVBoxLayout>

#include "chart/VxChartBaseTextUnit.h"
#include "chart/VxChartChoosers.h"
#include "chart/VxUniChart2DEditorUnit.h"

TVxChartBaseTextEditWindow::TVxChartBaseTextEditWindow(QWidget *owner) : VxChartEditWindow(owner)
{
    setWindowTitle(QStringLiteral("Edit Text Field"));
    setModal(true);

    // Preview
    m_scroll = new QScrollArea(this);
    m_scroll->setAlignment(Qt::AlignCenter);
    m_panel = new VxChartPreviewPanel;
    m_scroll->setWidget(m_panel);
    m_preview = new VxChartBaseTextClass(m_panel);
    m_preview->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_preview->SetAutoEditable(false);
    m_preview->SetVisible(true);
    m_preview->SetText(QStringLiteral("Example"));

    // Text and markup
    Memo1 = new QPlainTextEdit(this);
    Memo1->setMinimumHeight(90);
    Memo1->installEventFilter(this);
    connect(Memo1, &QPlainTextEdit::textChanged, this, &TVxChartBaseTextEditWindow::Memo1Change);

    auto makeButton = [this](const char *caption) {
        auto *b = new QPushButton(QString::fromLatin1(caption), this);
        b->setAutoDefault(false);
        return b;
    };
    ButtonUp = makeButton("Up");
    ButtonDown = makeButton("Down");
    ButtonBold = makeButton("<B>");
    ButtonItalic = makeButton("<I>");
    ButtonUnderline = makeButton("<U>");
    ButtonSize = makeButton("<size>");
    ButtonInline = makeButton("<inline>");
    connect(ButtonUp, &QPushButton::clicked, this, [this] { WrapSelection("<up>", "</up>"); });
    connect(ButtonDown, &QPushButton::clicked, this, [this] { WrapSelection("<down>", "</down>"); });
    connect(ButtonBold, &QPushButton::clicked, this, [this] { WrapSelection("<B>", "</B>"); });
    connect(ButtonItalic, &QPushButton::clicked, this, [this] { WrapSelection("<I>", "</I>"); });
    connect(ButtonUnderline, &QPushButton::clicked, this, [this] { WrapSelection("<U>", "</U>"); });
    connect(ButtonSize, &QPushButton::clicked, this, [this] { InsertBefore("<size>8</size>"); });
    connect(ButtonInline, &QPushButton::clicked, this, [this] { InsertBefore("<inline>8</inline>"); });

    // Orientation
    auto *orientation = new QGroupBox(this);
    RadioButton1 = new QRadioButton(QStringLiteral("0 degrees"), orientation);
    RadioButton2 = new QRadioButton(QStringLiteral("90 degrees"), orientation);
    RadioButton3 = new QRadioButton(QStringLiteral("180 degrees"), orientation);
    RadioButton4 = new QRadioButton(QStringLiteral("270 degrees"), orientation);
    auto *orientationLayout = new QVBoxLayout(orientation);
    const QRadioButton *radios[] = {RadioButton1, RadioButton2, RadioButton3, RadioButton4};
    for (int i = 0; i < 4; ++i) {
        orientationLayout->addWidget(const_cast<QRadioButton *>(radios[i]));
        connect(radios[i], &QRadioButton::clicked, this, [this, i] { SetOrientation(i); });
    }

    // Colours, font, frame
    ButtonFont = makeButton("Font");
    ButtonFontColor = makeButton("Font Color");
    ButtonBackColor = makeButton("Back Color");
    CheckTransparent = new QCheckBox(QStringLiteral("Transparent"), this);
    connect(ButtonFont, &QPushButton::clicked, this, &TVxChartBaseTextEditWindow::ButtonFontClick);
    connect(ButtonFontColor, &QPushButton::clicked, this, &TVxChartBaseTextEditWindow::ButtonFontColorClick);
    connect(ButtonBackColor, &QPushButton::clicked, this, &TVxChartBaseTextEditWindow::ButtonBackColorClick);
    connect(CheckTransparent, &QCheckBox::clicked, this, &TVxChartBaseTextEditWindow::CheckTransparentClick);

    Edit1 = new QLineEdit(this);
    Edit2 = new QLineEdit(this);
    for (QLineEdit *e : {Edit1, Edit2}) {
        e->setMaxLength(3);
        e->setMaximumWidth(60);
    }
    connect(Edit1, &QLineEdit::textEdited, this, &TVxChartBaseTextEditWindow::Edit1Change);
    connect(Edit2, &QLineEdit::textEdited, this, &TVxChartBaseTextEditWindow::Edit2Change);
    ComboBox1 = new QComboBox(this);
    ComboBox1->addItems({QStringLiteral("vxcbbsNone"), QStringLiteral("vxcbbsSimple"), QStringLiteral("vxcbbsRising"),
                         QStringLiteral("vxcbbsPressed"), QStringLiteral("vxcbbsUp"), QStringLiteral("vxcbbsDown")});
    connect(ComboBox1, &QComboBox::activated, this, &TVxChartBaseTextEditWindow::ComboBox1Change);

    ButtonOK = new QPushButton(QStringLiteral("OK"), this);
    ButtonCancel = new QPushButton(QStringLiteral("Cancel"), this);
    ButtonOK->setDefault(true);
    ButtonCancel->setAutoDefault(false);
    connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);

    // Layout
    auto *markup = new QHBoxLayout;
    for (QPushButton *b : {ButtonUp, ButtonDown, ButtonBold, ButtonItalic, ButtonUnderline, ButtonSize, ButtonInline})
        markup->addWidget(b);
    markup->addStretch();

    auto *textRow = new QHBoxLayout;
    textRow->addWidget(Memo1, 1);
    textRow->addWidget(orientation);

    auto *looks = new QHBoxLayout;
    looks->addWidget(ButtonFont);
    looks->addWidget(ButtonFontColor);
    looks->addWidget(ButtonBackColor);
    looks->addWidget(CheckTransparent);
    looks->addStretch();

    auto *frame = new QHBoxLayout;
    frame->addWidget(new QLabel(QStringLiteral("Inner Gap"), this));
    frame->addWidget(Edit1);
    frame->addSpacing(12);
    frame->addWidget(new QLabel(QStringLiteral("Outer Gap"), this));
    frame->addWidget(Edit2);
    frame->addSpacing(12);
    frame->addWidget(new QLabel(QStringLiteral("Border style"), this));
    frame->addWidget(ComboBox1);
    frame->addStretch();

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonOK);
    buttons->addWidget(ButtonCancel);

    auto *main = new QVBoxLayout(this);
    main->addWidget(m_scroll, 1);
    main->addLayout(textRow);
    main->addLayout(markup);
    main->addLayout(looks);
    main->addLayout(frame);
    main->addLayout(buttons);

    PlacePreview();
}

TVxChartBaseTextEditWindow::~TVxChartBaseTextEditWindow() = default;

void TVxChartBaseTextEditWindow::FormActivate()
{
    auto *box = qobject_cast<VxChartBaseTextClass *>(Target());
    if (!box)
        return;
    m_preview->Assign(*box);
    // The preview stays a plain, visible sample whatever the target is.
    m_preview->SetAutoEditable(false);
    m_preview->SetVisible(true);
    m_preview->SetSelectable(false);

    Memo1->setPlainText(box->Text());
    m_selStart = 0;
    m_selLength = 0;
    switch (box->TextOrientation()) {
    case vxcbto_0_Degrees: RadioButton1->setChecked(true); break;
    case vxcbto_90_Degrees: RadioButton2->setChecked(true); break;
    case vxcbto_180_Degrees: RadioButton3->setChecked(true); break;
    case vxcbto_270_Degrees: RadioButton4->setChecked(true); break;
    }
    CheckTransparent->setChecked(box->Transparent());
    Edit1->setText(QString::number(box->InnerGap()));
    Edit2->setText(QString::number(box->OuterGap()));
    ComboBox1->setCurrentIndex(int(box->BorderStyle()));
    PlacePreview();
    // Grow at once to show the preview of this target whole.
    layout()->activate();
    resize(size().expandedTo(minimumSize()));
}

void TVxChartBaseTextEditWindow::Apply()
{
    auto *box = qobject_cast<VxChartBaseTextClass *>(Target());
    if (!box)
        return;
    box->SetText(m_preview->Text());
    box->SetFont(m_preview->Font());
    box->SetFontColor(m_preview->FontColor());
    box->SetColor(m_preview->Color());
    box->SetTextOrientation(m_preview->TextOrientation());
    box->SetInnerGap(m_preview->InnerGap());
    box->SetOuterGap(m_preview->OuterGap());
    box->SetBorderStyle(m_preview->BorderStyle());
    box->SetTransparent(m_preview->Transparent());
}

bool TVxChartBaseTextEditWindow::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == Memo1 && e->type() == QEvent::FocusOut)
        Memo1Exit();
    return QDialog::eventFilter(watched, e);
}

void TVxChartBaseTextEditWindow::Memo1Change()
{
    m_preview->SetText(Memo1->toPlainText());
    PlacePreview();
}

void TVxChartBaseTextEditWindow::Memo1Exit()
{
    const QTextCursor c = Memo1->textCursor();
    m_selStart = c.selectionStart();
    m_selLength = c.selectionEnd() - c.selectionStart();
}

void TVxChartBaseTextEditWindow::WrapSelection(const QString &open, const QString &close)
{
    // A button pressed from the keyboard leaves the memo focused: its
    // selection is the current one.
    if (Memo1->hasFocus())
        Memo1Exit();
    const int length = int(Memo1->toPlainText().size());
    const int start = qBound(0, m_selStart, length);
    const int count = qBound(0, m_selLength, length - start);

    QTextCursor c(Memo1->document());
    c.beginEditBlock();
    c.setPosition(start + count);
    c.insertText(close);
    c.setPosition(start);
    c.insertText(open);
    c.endEditBlock();

    // The wrapped text, tags included, stays selected and remembered, so
    // that a second button wraps around the first.
    m_selStart = start;
    m_selLength = int(open.size()) + count + int(close.size());
    c.setPosition(m_selStart);
    c.setPosition(m_selStart + m_selLength, QTextCursor::KeepAnchor);
    Memo1->setTextCursor(c);
}

void TVxChartBaseTextEditWindow::InsertBefore(const QString &text)
{
    if (Memo1->hasFocus())
        Memo1Exit();
    const int length = int(Memo1->toPlainText().size());
    const int start = qBound(0, m_selStart, length);
    const int count = qBound(0, m_selLength, length - start);

    QTextCursor c(Memo1->document());
    c.setPosition(start);
    c.insertText(text);

    // The remembered selection keeps covering the same text.
    m_selStart = start + int(text.size());
    m_selLength = count;
    c.setPosition(m_selStart);
    c.setPosition(m_selStart + m_selLength, QTextCursor::KeepAnchor);
    Memo1->setTextCursor(c);
}

void TVxChartBaseTextEditWindow::SetOrientation(int orientation)
{
    m_preview->SetTextOrientation(VxChartBaseTextOrientation(orientation));
    PlacePreview();
}

void TVxChartBaseTextEditWindow::ButtonFontClick()
{
    if (const auto f = VxChartCurrentChoosers().chooseFont(m_preview->Font())) {
        m_preview->SetFont(*f);
        PlacePreview();
    }
}

void TVxChartBaseTextEditWindow::ButtonFontColorClick()
{
    if (const auto c = VxChartCurrentChoosers().chooseColor(m_preview->FontColor()))
        m_preview->SetFontColor(*c);
}

void TVxChartBaseTextEditWindow::ButtonBackColorClick()
{
    if (const auto c = VxChartCurrentChoosers().chooseColor(m_preview->Color()))
        m_preview->SetColor(*c);
}

void TVxChartBaseTextEditWindow::CheckTransparentClick()
{
    m_preview->SetTransparent(!m_preview->Transparent());
    CheckTransparent->setChecked(m_preview->Transparent());
}

void TVxChartBaseTextEditWindow::Edit1Change()
{
    m_preview->SetInnerGap(qMax(0, VxChartNormaliseIntEdit(*Edit1)));
    PlacePreview();
}

void TVxChartBaseTextEditWindow::Edit2Change()
{
    m_preview->SetOuterGap(qMax(0, VxChartNormaliseIntEdit(*Edit2)));
    PlacePreview();
}

void TVxChartBaseTextEditWindow::ComboBox1Change(int index)
{
    if (index < 0)
        return;
    m_preview->SetBorderStyle(VxChartBaseBorderStyle(index));
    PlacePreview();
}

void TVxChartBaseTextEditWindow::PlacePreview()
{
    m_panel->Fit(m_preview, QSize(400, 110));
    // The whole preview in view, up to a size that still fits a screen.
    const int frame = 2 * m_scroll->frameWidth();
    m_scroll->setMinimumSize(qMin(m_panel->width() + frame, 760), qMin(m_panel->height() + frame, 400));
}
