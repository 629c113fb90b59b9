#include "calendar/set_time_dialog.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "surface/graphic_panel_tile.h"

namespace plennix {
namespace {
constexpr int kTileWidth = 30;
constexpr int kTileHeight = 22;
constexpr int kMinuteColumns = 10;

QString TwelveHourCaption(int hour) { return QString::number(hour % 12 == 0 ? 12 : hour % 12); }
}  // namespace

QString SetTimeCaption(const QTime& time) {
    // QTime's own format names am/pm in lower case in the C locale, independent of the user's locale.
    return QStringLiteral("Set Time As: ") + time.toString(QStringLiteral("hh:mm ap"));
}

TSetTimeDialog::TSetTimeDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SetTimeDialog"));
    auto* outer = new QVBoxLayout(this);

    HourLabel = new QLabel(QStringLiteral("  Hour"), this);
    HourLabel->setObjectName(QStringLiteral("HourLabel"));
    outer->addWidget(HourLabel);
    HourPanel = new QFrame(this);
    HourPanel->setObjectName(QStringLiteral("HourPanel"));
    HourPanel->setFrameShape(QFrame::StyledPanel);
    HourPanel->setFocusPolicy(Qt::StrongFocus);
    HourPanel->setAccessibleName(QStringLiteral("Hour"));
    HourPanel->setAccessibleDescription(QStringLiteral("Left and right arrows choose the hour, up and down switch AM and PM"));
    HourLabel->setBuddy(HourPanel);
    auto* hours = new QGridLayout(HourPanel);
    hours->setSpacing(2);
    for (int row = 0; row < 2; ++row) {
        auto* rowLabel = new QLabel(row == 0 ? QStringLiteral("AM") : QStringLiteral("PM"), HourPanel);
        hours->addWidget(rowLabel, row, 0);
    }
    for (int hour = 0; hour < 24; ++hour) {
        auto* tile = new TGraphicPanel(HourPanel);
        tile->setObjectName(QStringLiteral("Hour%1").arg(hour));
        tile->SetCaption(TwelveHourCaption(hour));
        tile->SetTag(hour);
        tile->SetHint(QStringLiteral("%1 %2").arg(TwelveHourCaption(hour), hour < 12 ? "AM" : "PM"));
        tile->setAccessibleName(tile->Hint());
        tile->setFixedSize(kTileWidth, kTileHeight);
        tile->OnClick = [this](TGraphicPanel* sender) {
            setHour(sender->Tag());
            HourPanel->setFocus();
        };
        hours->addWidget(tile, hour / 12, 1 + hour % 12);
        m_hourTiles.push_back(tile);
    }
    outer->addWidget(HourPanel);

    MinuteLabel = new QLabel(QStringLiteral("  Minute"), this);
    MinuteLabel->setObjectName(QStringLiteral("MinuteLabel"));
    outer->addWidget(MinuteLabel);
    MinutePanel = new QFrame(this);
    MinutePanel->setObjectName(QStringLiteral("MinutePanel"));
    MinutePanel->setFrameShape(QFrame::StyledPanel);
    MinutePanel->setFocusPolicy(Qt::StrongFocus);
    MinutePanel->setAccessibleName(QStringLiteral("Minute"));
    MinutePanel->setAccessibleDescription(QStringLiteral("Arrow keys choose the minute"));
    MinuteLabel->setBuddy(MinutePanel);
    auto* minutes = new QGridLayout(MinutePanel);
    minutes->setSpacing(2);
    for (int minute = 0; minute < 60; ++minute) {
        auto* tile = new TGraphicPanel(MinutePanel);
        tile->setObjectName(QStringLiteral("Minute%1").arg(minute));
        tile->SetCaption(QStringLiteral("%1").arg(minute, 2, 10, QLatin1Char('0')));
        tile->SetTag(minute);
        tile->SetHint(QStringLiteral("Minute %1").arg(tile->Caption()));
        tile->setAccessibleName(tile->Hint());
        tile->setFixedSize(kTileWidth, kTileHeight);
        tile->OnClick = [this](TGraphicPanel* sender) {
            setMinute(sender->Tag());
            MinutePanel->setFocus();
        };
        minutes->addWidget(tile, minute / kMinuteColumns, minute % kMinuteColumns);
        m_minuteTiles.push_back(tile);
    }
    outer->addWidget(MinutePanel);

    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    okbutton = new QPushButton(QStringLiteral("&Ok"), this);
    okbutton->setObjectName(QStringLiteral("okbutton"));
    okbutton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("&Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    buttons->addWidget(okbutton);
    buttons->addWidget(CancelButton);
    outer->addLayout(buttons);
    connect(okbutton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    HourPanel->installEventFilter(this);
    MinutePanel->installEventFilter(this);
    // The panels take the arrow keys; a frame in the highlight colour shows which one has them.
    for (QFrame* panel : {HourPanel, MinutePanel})
        panel->setStyleSheet(QStringLiteral("QFrame#%1:focus { border: 2px solid palette(highlight); }")
                                 .arg(panel->objectName()));
    showTime();
}

void TSetTimeDialog::SetTime(const QTime& time) {
    const QTime t = time.isValid() ? time : QTime(0, 0);
    m_hour = t.hour();
    m_minute = t.minute();
    showTime();
}

void TSetTimeDialog::setHour(int hour) {
    m_hour = (hour % 24 + 24) % 24;
    showTime();
}

void TSetTimeDialog::setMinute(int minute) {
    m_minute = (minute % 60 + 60) % 60;
    showTime();
}

void TSetTimeDialog::showTime() {
    setWindowTitle(SetTimeCaption(Time()));
    for (TGraphicPanel* tile : m_hourTiles) tile->SetColor(tile->Tag() == m_hour ? clYellow : clBtnFace);
    for (TGraphicPanel* tile : m_minuteTiles) tile->SetColor(tile->Tag() == m_minute ? clYellow : clBtnFace);
}

bool TSetTimeDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || (watched != HourPanel && watched != MinutePanel))
        return QDialog::eventFilter(watched, event);
    const bool hours = watched == HourPanel;
    const int row = hours ? 12 : kMinuteColumns;
    int step = 0;
    switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Left: step = -1; break;
    case Qt::Key_Right: step = 1; break;
    case Qt::Key_Up: step = -row; break;
    case Qt::Key_Down: step = row; break;
    default: return QDialog::eventFilter(watched, event);
    }
    if (hours)
        setHour(m_hour + step);
    else
        setMinute(m_minute + step);
    return true;
}

}  // namespace plennix
