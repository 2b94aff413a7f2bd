#include "DesignCompiler.h"

#include "ObjectIds.h"
#include "PageLayoutBuilder.h"
#include "model/evFont.h"
#include "model/evLayout.h"
#include "model/evPageLayout.h"
#include "model/evPicture.h"
#include "platform/Bitmap.h"
#include "platform/Color.h"
#include "platform/Jpeg.h"
#include "platform/Stream.h"

#include <QFile>

#include <filesystem>

namespace {

constexpr int64_t kMaxFontBytes = 32 * 1024 * 1024;
constexpr int kMaxPictureSide = 4096;

} // namespace

DesignCompiler::DesignCompiler(std::vector<std::string> fontFolders) : m_fontFolders(std::move(fontFolders)) {}

std::vector<std::string> DesignCompiler::DefaultFontFolders() { return {"/usr/share/fonts", "/usr/local/share/fonts"}; }

std::unique_ptr<evLayout> DesignCompiler::CompileFile(const std::string& path)
{
    return Compile(JsonCursor::Load(path));
}

std::unique_ptr<evLayout> DesignCompiler::Compile(const JsonCursor& root)
{
    root.AllowOnly({"name", "description", "pageSize", "textColour", "backgroundColour", "colours", "fonts",
                    "textStyles", "paints", "pictures", "groups", "pageLayouts", "samplePage", "note"});
    m_context = std::make_unique<DesignContext>();
    m_samplePage = 0;
    const std::vector<int> size = root.Field("pageSize").Ints(2, 16, 4096);
    m_context->pageSize = QSize(size[0], size[1]);
    auto design =
        std::make_unique<evLayout>(root.Field("name").String(), root.String("description", ""), size[0], size[1]);
    if (design->GetName().empty() || design->GetName().find_first_of("/\\") != std::string::npos)
        root.Field("name").Fail("the name becomes the file name: it must not be empty or hold \"/\" or \"\\\"");

    std::map<std::string, QColor> palette;
    ReadPalette(root, palette);
    // The painter needs the colour table before the design's own colours are read (they may use its names).
    m_context->painter = std::make_unique<DecorationPainter>(palette, std::map<std::string, QByteArray>(), Qt::white);
    const QColor background = m_context->painter->Colour(root.Field("backgroundColour"));
    design->SetTextColour(FromQColor(m_context->painter->Colour(root.Field("textColour"))));
    design->SetBackgroundColour(FromQColor(background));

    ReadFonts(root, *design);
    std::map<std::string, QByteArray> fontData;
    for (int32_t i = 0; i < design->GetElementsB().Count(); ++i) {
        const auto* font = design->GetElementsB().GetItemAs<evFont>(i);
        for (const auto& [id, known] : m_context->fonts)
            if (font && known.id == font->GetID())
                fontData[id] = QByteArray(reinterpret_cast<const char*>(font->GetData().data()),
                                          static_cast<qsizetype>(font->GetData().size()));
    }
    m_context->painter = std::make_unique<DecorationPainter>(palette, fontData, background);
    ReadNamedObjects(root, "textStyles", m_context->textStyles);
    ReadNamedObjects(root, "groups", m_context->groups);
    ReadPaints(root);
    ReadPictures(root, *design);
    ReadPageLayouts(root, *design);
    CheckKeys(root, *design);
    return design;
}

void DesignCompiler::ReadPalette(const JsonCursor& root, std::map<std::string, QColor>& palette) const
{
    const auto colours = root.Optional("colours");
    if (!colours)
        return;
    DecorationPainter plain({}, {}, Qt::white);
    for (const auto& [name, value] : colours->Members()) {
        if (!JsonCursor::IsIdentifier(name))
            value.Fail("the name \"" + name + "\" must begin with a letter and hold letters, digits, _ and -");
        if (value.String().empty() || value.String()[0] != '#')
            value.Fail("a colour of the table is written #rrggbb or #rrggbbaa");
        palette[name] = plain.Colour(value);
    }
}

void DesignCompiler::ReadNamedObjects(const JsonCursor& root, const char* key,
                                      std::map<std::string, JsonCursor>& target) const
{
    const auto members = root.Optional(key);
    if (!members)
        return;
    for (const auto& [name, value] : members->Members()) {
        if (!JsonCursor::IsIdentifier(name))
            value.Fail("the name \"" + name + "\" must begin with a letter and hold letters, digits, _ and -");
        if (!value.IsObject())
            value.Fail("expected an object");
        target.emplace(name, value);
    }
}

void DesignCompiler::ReadPaints(const JsonCursor& root)
{
    m_paints.clear();
    const auto paints = root.Optional("paints");
    if (!paints)
        return;
    for (const auto& [name, value] : paints->Members()) {
        if (!JsonCursor::IsIdentifier(name))
            value.Fail("the name \"" + name + "\" must begin with a letter and hold letters, digits, _ and -");
        if (!value.IsArray())
            value.Fail("a shared paint is a list of layers");
        m_paints.emplace(name, value);
    }
}

void DesignCompiler::ReadFonts(const JsonCursor& root, evLayout& design)
{
    for (const JsonCursor& raw : root.Field("fonts").Items()) {
        raw.AllowOnly({"id", "file", "face"});
        const std::string id = raw.Field("id").Identifier();
        const JsonCursor font = raw.Named(id);
        const int32_t number = m_context->ids.Assign(id, font);
        std::unique_ptr<evFont> object = MakeFont(font, number);
        m_context->fonts[id] = DesignFont{number, object->GetFaceName()};
        design.GetElementsB().Add(std::move(object));
    }
}

std::string DesignCompiler::FindFontFile(const JsonCursor& where) const
{
    const std::string file = where.String();
    if (file.empty() || file.find_first_of("/\\") != std::string::npos)
        where.Fail("give the bare file name of the font; it is looked up in the font folders");
    std::error_code error;
    for (const std::string& folder : m_fontFolders) {
        namespace fs = std::filesystem;
        if (!fs::is_directory(folder, error))
            continue;
        for (auto it = fs::recursive_directory_iterator(folder, fs::directory_options::skip_permission_denied, error);
             it != fs::recursive_directory_iterator(); it.increment(error)) {
            if (!error && it->path().filename() == file)
                return it->path().string();
        }
    }
    std::string folders;
    for (const std::string& folder : m_fontFolders)
        folders += (folders.empty() ? "" : ", ") + folder;
    where.Fail("the font file \"" + file + "\" is in none of the font folders (" + folders + ")");
}

// An evFont is made only by reading: its body is written here as the reader expects it.
std::unique_ptr<evFont> DesignCompiler::MakeFont(const JsonCursor& font, int32_t id) const
{
    const std::string path = FindFontFile(font.Field("file"));
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFontBytes)
        font.Field("file").Fail("the font file " + path + " cannot be read or is larger than 32 MB");
    const QByteArray bytes = file.readAll();
    const std::string face = font.Field("face").String();
    if (face.empty())
        font.Field("face").Fail("the face name must not be empty");
    MemoryStream body;
    body.WriteInt32(0);
    body.WriteInt32(id);
    body.WriteString(font.Field("file").String());
    body.WriteString(face);
    body.WriteInt32(static_cast<int32_t>(bytes.size()));
    body.WriteBuffer(bytes.constData(), bytes.size());
    body.SetPosition(0);
    return std::make_unique<evFont>(body, nullptr);
}

void DesignCompiler::ReadPictures(const JsonCursor& root, evLayout& design)
{
    for (const JsonCursor& raw : root.Field("pictures").Items()) {
        raw.AllowOnly({"id", "size", "placeholder", "paint"});
        const std::string id = raw.Field("id").Identifier();
        const JsonCursor picture = raw.Named(id);
        const std::vector<int> size = picture.Field("size").Ints(2, 1, kMaxPictureSide);
        const bool placeholder = picture.Bool("placeholder", false);
        JsonCursor layers = picture.Field("paint");
        if (layers.IsString()) {
            const auto shared = m_paints.find(layers.Identifier());
            if (shared == m_paints.end())
                layers.Fail("there is no paint \"" + layers.String() + "\" among the shared paints");
            layers = shared->second;
        }
        const QImage image = m_context->painter->Paint(layers, QSize(size[0], size[1]));
        const JpegImage jpeg = JpegImage::FromBitmap(Bitmap(image));
        MemoryStream bytes(jpeg.Bytes());
        const evPicture draft(id, bytes, placeholder ? 1 : 0, jpeg.Width(), jpeg.Height());
        const int32_t number = m_context->ids.Assign(id, picture);
        m_context->pictures[id] = DesignPicture{number, placeholder, QSize(size[0], size[1])};
        design.GetElementsA().Add(ObjectIds::WithID(draft, number));
    }
}

void DesignCompiler::ReadPageLayouts(const JsonCursor& root, evLayout& design)
{
    for (const JsonCursor& description : root.Field("pageLayouts").Items()) {
        PageLayoutBuilder builder(*m_context, description);
        design.AddPageLayout(builder.Build());
    }
    if (const auto sample = root.Optional("samplePage")) {
        const int32_t id = m_context->ids.Find(sample->Identifier());
        if (id == 0 || !dynamic_cast<evPageLayout*>(design.FindByID(id)))
            sample->Fail("there is no page layout \"" + sample->String() + "\"");
        m_samplePage = id;
    } else if (const evPageLayout* welcome = design.FindPageLayoutByKey("W")) {
        m_samplePage = welcome->GetID();
    }
}

void DesignCompiler::CheckKeys(const JsonCursor& root, const evLayout& design) const
{
    std::map<std::string, int> counts;
    const evObjectCollection& layouts = design.GetPageLayouts();
    for (int32_t i = 0; i < layouts.Count(); ++i) {
        const auto* layout = layouts.GetItemAs<evPageLayout>(i);
        if (layout && !layout->GetKey().empty() && ++counts[layout->GetKey()] > 1)
            root.Field("pageLayouts").Fail("the key \"" + layout->GetKey() + "\" is given to two page layouts");
    }
    for (const std::string& key : m_requiredKeys) {
        if (counts[key] == 0)
            root.Field("pageLayouts").Fail("no page layout has the key \"" + key + "\", which this design needs");
    }
}
