#include "screens/TTransEdit.h"
#include "screens/TTransMemo.h"

#include <QImage>
#include <QScrollBar>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace {

// A red parent with the control over its middle; the colour under the control's empty right end.
QColor ColourUnderControl(const std::function<QWidget*(QWidget*)>& create)
{
    QWidget parent;
    parent.resize(120, 60);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, QColor(200, 0, 0));
    parent.setPalette(palette);
    parent.setAutoFillBackground(true);
    QWidget* control = create(&parent);
    control->setGeometry(10, 10, 100, 40);
    return parent.grab().toImage().pixelColor(70, 30);
}

TEST(TTransEditTest, TheSkinShowsThroughOnlyWhenTransparent)
{
    for (const bool transparent : {false, true}) {
        const QColor underEdit = ColourUnderControl([transparent](QWidget* parent) {
            auto* edit = new TTransEdit(parent);
            EXPECT_FALSE(edit->GetTransparent());
            edit->setText("ab");
            edit->SetTransparent(transparent);
            edit->SetAlignText(TTextAlign::Left);
            return edit;
        });
        const QColor underMemo = ColourUnderControl([transparent](QWidget* parent) {
            auto* memo = new TTransMemo(parent);
            EXPECT_FALSE(memo->GetTransparent());
            memo->setPlainText("ab\ncd\nef\ngh\nij\nkl");
            memo->SetTransparent(transparent);
            memo->verticalScrollBar()->setValue(2);
            return memo;
        });
        EXPECT_EQ(underEdit == QColor(200, 0, 0), transparent);
        EXPECT_EQ(underMemo == QColor(200, 0, 0), transparent);
    }
}

} // namespace
