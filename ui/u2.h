// Unit u2: the input data dialog of the xy geometry (rectangular charge).
#pragma once

#include "ui/DataDialog.h"

namespace resheat::ui {

class TForm2 : public DataDialog {
    Q_OBJECT
public:
    explicit TForm2(Program &program);

    // Puts a record into the controls.
    void ShowCaseData(const DataXY &record);
    void Button1Click() override; // OK
    void Button2Click() override; // Cancel

    QLabel *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8, *Label9, *Label10,
        *Label11, *Label12, *Label13, *Label14;
    QLineEdit *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit7, *Edit8, *Edit9, *Edit10, *Edit11,
        *Edit12, *Edit13, *Edit14;

protected:
    void FormShow() override;

private:
    // Edit2 to Edit14: the 13 numbers of the record in record order.
    std::vector<QLineEdit *> boxes() const;
};

} // namespace resheat::ui
