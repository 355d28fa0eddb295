// The text editor of a chart text box ("Edit Text Field").
//
// The editor works on a preview box of its own: every control changes the
// preview at once, and only Apply (run after OK) writes the preview into the
// target box.  Cancel leaves the target as it was.
#pragma once

#include "chart/VxUniChart2DEditorUnit.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class VxChartBaseTextClass;

class TVxChartBaseTextEditWindow : public VxChartEditWindow
{
    Q_OBJECT
public:
    explicit TVxChartBaseTextEditWindow(QWidget *owner = nullptr);
    ~TVxChartBaseTextEditWindow() override;

    // Writes the preview into the target, if it is a text box: Text, Font
    // (with its colour), Color, TextOrientation, InnerGap, OuterGap,
    // BorderStyle and Transparent, in this order.
    void Apply();

    // The preview box (for tests and for a look at it).
    VxChartBaseTextClass *Preview() const { return m_preview; }

    // The selection remembered when the memo was last left.
    int SelStart() const { return m_selStart; }
    int SelLength() const { return m_selLength; }

    // Controls.
    QPlainTextEdit *Memo1 = nullptr;         // the text, in caption markup
    QPushButton *ButtonUp = nullptr;         // "Up"
    QPushButton *ButtonDown = nullptr;       // "Down"
    QPushButton *ButtonBold = nullptr;       // "<B>"
    QPushButton *ButtonItalic = nullptr;     // "<I>"
    QPushButton *ButtonUnderline = nullptr;  // "<U>"
    QPushButton *ButtonSize = nullptr;       // "<size>"
    QPushButton *ButtonInline = nullptr;     // "<inline>"
    QRadioButton *RadioButton1 = nullptr;    // "0 degrees"
    QRadioButton *RadioButton2 = nullptr;    // "90 degrees"
    QRadioButton *RadioButton3 = nullptr;    // "180 degrees"
    QRadioButton *RadioButton4 = nullptr;    // "270 degrees"
    QPushButton *ButtonFont = nullptr;       // "Font"
    QPushButton *ButtonFontColor = nullptr;  // "Font Color"
    QPushButton *ButtonBackColor = nullptr;  // "Back Color"
    QCheckBox *CheckTransparent = nullptr;   // "Transparent"
    QLineEdit *Edit1 = nullptr;              // "Inner Gap"
    QLineEdit *Edit2 = nullptr;              // "Outer Gap"
    QComboBox *ComboBox1 = nullptr;          // "Border style"
    QPushButton *ButtonOK = nullptr;         // "OK"
    QPushButton *ButtonCancel = nullptr;     // "Cancel"

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void FormActivate() override;
    void Memo1Change();
    void Memo1Exit();
    // Wraps the remembered selection in an opening and a closing tag.
    void WrapSelection(const QString &open, const QString &close);
    // Inserts a tag with its argument in front of the remembered selection.
    void InsertBefore(const QString &text);
    void SetOrientation(int orientation);
    void ButtonFontClick();
    void ButtonFontColorClick();
    void ButtonBackColorClick();
    void CheckTransparentClick();
    void Edit1Change();
    void Edit2Change();
    void ComboBox1Change(int index);
    // Re-centres the preview after its size changed.
    void PlacePreview();

    VxChartPreviewPanel *m_panel = nullptr;
    QScrollArea *m_scroll = nullptr;
    VxChartBaseTextClass *m_preview = nullptr;
    int m_selStart = 0;
    int m_selLength = 0;
};
