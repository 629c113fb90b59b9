#include "app/user_title_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/code_page.h"
#include "platform/messages.h"
#include "surface/help.h"

namespace plennix {

namespace {
// Titles are stored as one string in the document; keep them to what a title line can show.
constexpr int kMaxTitleLength = 255;
constexpr int kHelpTopic = 5010;
}  // namespace

TUserTitleForm::TUserTitleForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("UserTitleForm"));
    setWindowTitle(QStringLiteral("User Defined Title"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("Enter calendar title (leave blank for default):"), this);
    TitleText = new QLineEdit(this);
    TitleText->setObjectName(QStringLiteral("TitleText"));
    TitleText->setAccessibleName(QStringLiteral("Calendar title"));
    TitleText->setMaxLength(kMaxTitleLength);
    TitleText->setMinimumWidth(320);
    label->setBuddy(TitleText);
    layout->addWidget(label);
    layout->addWidget(TitleText);
    auto* buttons = new QHBoxLayout;
    auto* help = new QPushButton(QStringLiteral("Help"), this);
    help->setObjectName(QStringLiteral("Helpbutton"));
    help->setAutoDefault(false);
    connect(help, &QPushButton::clicked, this, [] { ShowHelpTopic(kHelpTopic); });
    buttons->addWidget(help);
    buttons->addStretch();
    okbutton = new QPushButton(QStringLiteral("Ok"), this);
    okbutton->setObjectName(QStringLiteral("okbutton"));
    okbutton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    buttons->addWidget(okbutton);
    buttons->addWidget(CancelButton);
    layout->addLayout(buttons);
    connect(okbutton, &QPushButton::clicked, this, &TUserTitleForm::accept);
    connect(CancelButton, &QPushButton::clicked, this, &TUserTitleForm::reject);
}

QString TUserTitleForm::Title() const { return TitleText->text(); }

void TUserTitleForm::SetTitle(const QString& title) { TitleText->setText(title); }

void TUserTitleForm::accept() {
    const QString problem = CodePageProblem(TitleText->text());
    if (!problem.isEmpty()) {
        ShowInformation(problem, this);
        TitleText->setFocus();
        return;
    }
    QDialog::accept();
}

}  // namespace plennix
