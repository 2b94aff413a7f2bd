// A box painted behind a chapter menu stays clear of the page's border lines, read from the design sources: the
// page layout's background picture, the rectangles of its paint that hold the menu, and its border layers.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRectF>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// Free space wanted between a box and the innermost border line.
constexpr double kClearance = 16;

QRectF RectOf(const QJsonValue& value)
{
    const QJsonArray a = value.toArray();
    return a.size() == 4 ? QRectF(a[0].toDouble(), a[1].toDouble(), a[2].toDouble(), a[3].toDouble()) : QRectF();
}

// The paint layers of a page layout's background picture: the picture's own list or the shared list it names.
QJsonArray BackgroundPaint(const QJsonObject& design, const QJsonObject& layout)
{
    QString id;
    for (const QJsonValue& element : layout["elements"].toArray())
        if (element["id"].toString() == "background")
            id = element["picture"].toString();
    for (const QJsonValue& picture : design["pictures"].toArray()) {
        const QJsonValue paint = picture["paint"];
        if (picture["id"].toString() == id)
            return paint.isString() ? design["paints"].toObject()[paint.toString()].toArray() : paint.toArray();
    }
    return {};
}

// How far the border lines reach into the page from its edges (0 without border lines).
double BorderReach(const QJsonArray& paint)
{
    double reach = 0;
    for (const QJsonValue& layer : paint)
        if (layer.toObject().contains("border"))
            reach = std::max(reach, layer["border"].toDouble() + layer["width"].toDouble(1) / 2);
    return reach;
}

// The chapter menus of a page layout, its own and those of the groups it uses.
std::vector<QRectF> ChapterMenus(const QJsonObject& design, const QJsonObject& layout)
{
    std::vector<QRectF> menus;
    const auto collect = [&menus](const QJsonArray& actions) {
        for (const QJsonValue& action : actions)
            if (action["type"].toString() == "chapter menu")
                menus.push_back(RectOf(action["rect"]));
    };
    collect(layout["actions"].toArray());
    const QJsonObject groups = design["groups"].toObject();
    for (const QJsonValue& element : layout["elements"].toArray())
        if (element.toObject().contains("use"))
            collect(groups.value(element["use"].toString()).toObject().value("actions").toArray());
    return menus;
}

} // namespace

TEST(ChapterMenuBoxTest, BoxesBehindChapterMenusStayClearOfThePageBorder)
{
    int boxes = 0;
    for (const fs::directory_entry& file : fs::directory_iterator(fs::path(VELLORA_DATA_SRC_DIR) / "designs")) {
        if (file.path().extension() != ".json")
            continue;
        QFile json(QString::fromStdString(file.path().string()));
        ASSERT_TRUE(json.open(QIODevice::ReadOnly)) << file.path();
        const QJsonObject design = QJsonDocument::fromJson(json.readAll()).object();
        ASSERT_FALSE(design.isEmpty()) << file.path();
        const QJsonArray size = design["pageSize"].toArray();
        const QRectF page(0, 0, size[0].toDouble(), size[1].toDouble());
        for (const QJsonValue& value : design["pageLayouts"].toArray()) {
            const QJsonObject layout = value.toObject();
            const QJsonArray paint = BackgroundPaint(design, layout);
            const double reach = BorderReach(paint) + kClearance;
            const QRectF inside = page.adjusted(reach, reach, -reach, -reach);
            for (const QRectF& menu : ChapterMenus(design, layout)) {
                for (const QJsonValue& layer : paint) {
                    const QRectF box = RectOf(layer["rect"]);
                    // Bands from one edge of the page to the other (a side bar) are meant to reach the edges.
                    const bool band = box.height() >= page.height() || box.width() >= page.width();
                    if (box.isEmpty() || band || !box.contains(menu))
                        continue;
                    ++boxes;
                    EXPECT_TRUE(inside.contains(box))
                        << file.path().filename().string() << " / " << layout["id"].toString().toStdString()
                        << ": the box at " << box.x() << "," << box.y() << " " << box.width() << "x" << box.height()
                        << " reaches into the border (keep it inside " << inside.x() << "," << inside.y() << " - "
                        << inside.right() << "," << inside.bottom() << ")";
                }
            }
        }
    }
    // Both designs paint a box behind the menus of their chapters page and their chapter opener.
    EXPECT_GE(boxes, 4);
}
