#include "SkinScene.h"

#include "platform/Errors.h"

#include <QPainter>

#include <utility>

SkinScene::SkinScene(QSize size, std::function<void(QPainter&)> base) : m_size(size), m_base(std::move(base)) {}

SkinScene& SkinScene::Add(const std::string& name, const Geometry::ControlRect& rect, ControlDrawer draw, Look look)
{
    m_controls.push_back(SkinControl{name, rect, std::move(draw), look});
    return *this;
}

QImage SkinScene::Render(const LookOverrides& overrides) const
{
    QImage image(m_size, QImage::Format_RGB32);
    image.fill(SkinColor::Night0);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (m_base)
        m_base(p);
    for (const SkinControl& control : m_controls) {
        const auto it = overrides.find(control.name);
        const Look look = it != overrides.end() ? it->second : control.look;
        if (look == Look::Hidden)
            continue;
        p.save();
        control.draw(p, ToRectF(control.rect), look);
        p.restore();
    }
    return image;
}

QImage SkinScene::Cut(const Geometry::ControlRect& rect, const LookOverrides& overrides) const
{
    return Crop(Render(overrides), rect);
}

QImage SkinScene::Picture(const std::string& control, Look look) const
{
    return Cut(Control(control).rect, {{control, look}});
}

const SkinControl& SkinScene::Control(const std::string& name) const
{
    for (const SkinControl& control : m_controls)
        if (control.name == name)
            return control;
    throw EVelloraError("skin scene has no control named " + name);
}

QImage SkinScene::Crop(const QImage& image, const Geometry::ControlRect& rect)
{
    return image.copy(rect.x, rect.y, rect.w, rect.h);
}

QRectF SkinScene::ToRectF(const Geometry::ControlRect& rect) { return QRectF(rect.x, rect.y, rect.w, rect.h); }

ControlDrawer SkinScene::Button(const ButtonFace& face, Surface surface)
{
    return
        [face, surface](QPainter& p, const QRectF& r, Look look) { SkinStyle::DrawButton(p, r, face, look, surface); };
}
