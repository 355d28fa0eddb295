// Unit u2a: the input data dialog of the rz geometry (cylindrical charge).
#pragma once

#include "ui/DataDialog.h"

namespace resheat::ui {

class TForm2a : public DataDialog {
    Q_OBJECT
public:
    explicit TForm2a(Program &program);

    // Puts a record into the controls.
    void ShowCaseData(const DataRZ &record);
    void Button1Click() override; // OK
    void Button2Click() override; // Cancel

    QLabel *Label2, *Label3, *Label5, *Label6, *Label7, *Label8, *Label9, *Label10, *Label11,
        *Label12, *Label13, *Label14;
    QLineEdit *Edit2, *Edit3, *Edit5, *Edit6, *Edit7, *Edit8, *Edit9, *Edit10, *Edit11, *Edit12,
        *Edit13, *Edit14;

protected:
    void FormShow() override;

private:
    // Edit2, Edit3, Edit5 to Edit14: the 12 numbers of the record in order.
    std::vector<QLineEdit *> boxes() const;
};

} // namespace resheat::ui
