#pragma once
// The about box: program, version, licence, the Qt version it runs on and the code page of its files.
#include <QDialog>

#include "app/command_line.h"  // ProgramVersion

namespace plennix {

// The text the about box shows (plain lines; tests read it).
QString AboutText();

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);
};

}  // namespace plennix
