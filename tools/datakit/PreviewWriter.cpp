#include "PreviewWriter.h"

#include "DesignPreview.h"
#include "SkinPainter.h"
#include "model/evLayout.h"
#include "model/evPageLayout.h"
#include "model/evPicture.h"
#include "platform/Bitmap.h"
#include "platform/Errors.h"
#include "platform/Stream.h"

#include <QDir>
#include <QFont>
#include <QPainter>

#include <filesystem>

namespace {

constexpr int kSheetColumns = 4;
constexpr int kThumbWidth = 400;
constexpr int kThumbHeight = 300;
constexpr int kCaption = 22;

QString Path(const std::string& folder, const QString& name)
{
    return QDir(QString::fromStdString(folder)).filePath(name);
}

void Save(const QImage& image, const QString& path, std::vector<std::string>& written)
{
    if (!image.save(path))
        throw EFCreateError("Cannot write " + path.toStdString());
    written.push_back(path.toStdString());
}

} // namespace

PreviewWriter::PreviewWriter(std::string folder) : m_folder(std::move(folder))
{
    std::filesystem::create_directories(m_folder);
}

std::vector<std::string> PreviewWriter::WriteDesign(const evLayout& design, const std::string& prefix) const
{
    MemoryStream saved;
    design.SaveToStream(saved);
    saved.SetPosition(0);
    DesignPreview preview(std::make_unique<evLayout>(saved, nullptr));
    std::vector<std::string> written;
    const evObjectCollection& layouts = preview.Design().GetPageLayouts();
    const int rows = (layouts.Count() + kSheetColumns - 1) / kSheetColumns;
    QImage sheet(kSheetColumns * kThumbWidth, rows * (kThumbHeight + kCaption), QImage::Format_RGB32);
    sheet.fill(QColor(0x40, 0x40, 0x40));
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setFont(QFont("DejaVu Sans", 10));
    painter.setPen(Qt::white);
    for (int32_t i = 0; i < layouts.Count(); ++i) {
        auto* layout = layouts.GetItemAs<evPageLayout>(i);
        const QImage page = preview.RenderFilled(*layout);
        const QString name = QString::fromStdString(prefix) + QStringLiteral("-%1").arg(i, 2, 10, QLatin1Char('0'));
        Save(page, Path(m_folder, name + ".png"), written);
        const QRect cell((i % kSheetColumns) * kThumbWidth, (i / kSheetColumns) * (kThumbHeight + kCaption),
                         kThumbWidth, kThumbHeight);
        painter.drawImage(cell.adjusted(2, 2, -2, -2), page);
        const QString caption =
            QString::fromStdString(layout->GetName()) +
            (layout->GetKey().empty() ? "" : "  [" + QString::fromStdString(layout->GetKey()) + "]") +
            QStringLiteral("  kind %1").arg(layout->GetKind());
        painter.drawText(QRect(cell.left() + 4, cell.bottom(), kThumbWidth - 8, kCaption), Qt::AlignVCenter, caption);
    }
    painter.end();
    Save(sheet, Path(m_folder, QString::fromStdString(prefix) + "-sheet.png"), written);
    if (const evPicture* sample = design.GetSamplePicture())
        Save(sample->Decode().ToQImage(), Path(m_folder, QString::fromStdString(prefix) + "-sample.png"), written);
    return written;
}

std::string PreviewWriter::WriteSkinContactSheet() const
{
    constexpr int kColumns = 10;
    constexpr int kCell = 200;
    SkinPainter skins;
    const int count = SkinPainter::Count();
    QImage sheet(kColumns * kCell, ((count + kColumns - 1) / kColumns) * (kCell + kCaption), QImage::Format_RGB32);
    sheet.fill(QColor(0x30, 0x30, 0x30));
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setFont(QFont("DejaVu Sans", 9));
    for (int i = 0; i < count; ++i) {
        const QImage picture = skins.Paint(i);
        const QRect cell((i % kColumns) * kCell, (i / kColumns) * (kCell + kCaption), kCell, kCell);
        const QSize fitted = picture.size().scaled(cell.size() - QSize(8, 8), Qt::KeepAspectRatio);
        const QRect target(cell.center() - QPoint(fitted.width() / 2, fitted.height() / 2), fitted);
        painter.drawImage(target, picture);
        painter.setPen(Qt::white);
        painter.drawText(QRect(cell.left(), cell.bottom(), kCell, kCaption), Qt::AlignCenter,
                         QStringLiteral("%1  (%2 x %3)").arg(i).arg(picture.width()).arg(picture.height()));
    }
    painter.end();
    const QString path = Path(m_folder, "skins-sheet.png");
    if (!sheet.save(path))
        throw EFCreateError("Cannot write " + path.toStdString());
    return path.toStdString();
}
