// The About window.
#pragma once

#include "windows.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

class TForm6 : public QDialog {
    Q_OBJECT
public:
    explicit TForm6(WindowContext& context);

    // The product web site, which the link label opens.
    static const QString WebSite;

    // The link label: the shell opens the product web site.
    void LinkLabelClick();

    QFrame* Panel1;
    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Label1;  // "Note Card Software"
    QLabel* Version;
    QLabel* Copyright;
    QLabel* Comments;
    QLabel* Label2;  // the date
    QLabel* Label3;  // "The latest update available in"
    QLabel* LinkLabel;
    QPushButton* OKButton;

private:
    Platform& platform_;
};
