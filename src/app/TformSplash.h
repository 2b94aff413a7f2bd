#pragma once
// The splash window shown while the program starts: the program's name, a status line and the version. It is
// painted by the program itself, because the data files with the skin pictures are not read yet.

#include <QWidget>

class TLabel;

class TformSplash : public QWidget {
    Q_OBJECT

public:
    static constexpr const char* kVersion = "v1.03";

    TformSplash();

    // Sets the status line and repaints it at once (the event loop does not run yet).
    void SetStatus(const QString& text);

    TLabel* labelInfo;
    TLabel* labelVersion;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage PaintBackground() const;

    QImage m_background;
};
