#pragma once
// TUserTitleForm: the user-defined title of the calendar. An empty text restores the generated title.
// The text must fit the code page in which documents hold text; otherwise OK says so and stays open.
#include <QDialog>

class QLineEdit;
class QPushButton;

namespace plennix {

class TUserTitleForm : public QDialog {
    Q_OBJECT
public:
    explicit TUserTitleForm(QWidget* parent = nullptr);
    QLineEdit* TitleText = nullptr;
    QPushButton* okbutton = nullptr;
    QPushButton* CancelButton = nullptr;
    QString Title() const;
    void SetTitle(const QString& title);

    void accept() override;
};

}  // namespace plennix
