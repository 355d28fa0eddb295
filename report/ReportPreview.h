// The preview of a report form in a window of its own, from which the user
// prints it on a printer or saves it as a PDF file.
#pragma once

class QWidget;

namespace resheat::report {

class ReportForm;

// Shows the preview modally and returns when its window closes.
void ShowPreviewDialog(const ReportForm &form, QWidget *parent = nullptr);

} // namespace resheat::report
