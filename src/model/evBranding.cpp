#include "model/evBranding.h"

#include "model/ObjectStream.h"
#include "model/evCategory.h"
#include "platform/Errors.h"
#include "platform/Stream.h"

namespace {

std::unique_ptr<evObjectCollection> OrEmpty(std::unique_ptr<evObjectCollection> list)
{
    return list ? std::move(list) : std::make_unique<evObjectCollection>();
}

} // namespace

evBranding::evBranding(std::string name) : evBranding(std::move(name), nullptr, nullptr, nullptr, nullptr, nullptr) {}

evBranding::evBranding(std::string name, std::unique_ptr<evCategory> chapterTree,
                       std::unique_ptr<evObjectCollection> helpTexts, std::unique_ptr<evObjectCollection> pictures,
                       std::unique_ptr<evObjectCollection> music, std::unique_ptr<evObjectCollection> speech)
    : m_name(std::move(name)), m_chapterTree(std::move(chapterTree)), m_helpTexts(OrEmpty(std::move(helpTexts))),
      m_pictures(OrEmpty(std::move(pictures))), m_music(OrEmpty(std::move(music))), m_speech(OrEmpty(std::move(speech)))
{}

// Layout after the evObject header:
//   string name
//   reference chapter tree
//   collection help texts
//   collection pictures         version >= 2
//   collection music            version >= 3
//   collection speech clips     version >= 4
evBranding::evBranding(Stream& stream, ProgressBar* progress) : evObject(stream, progress)
{
    const int32_t version = GetStoredVersion();
    m_name = stream.ReadString();
    m_chapterTree = ReadObjectAs<evCategory>(stream, progress);
    m_helpTexts = std::make_unique<evObjectCollection>(stream, progress);
    m_pictures =
        version >= 2 ? std::make_unique<evObjectCollection>(stream, progress) : std::make_unique<evObjectCollection>();
    m_music =
        version >= 3 ? std::make_unique<evObjectCollection>(stream, progress) : std::make_unique<evObjectCollection>();
    m_speech =
        version >= 4 ? std::make_unique<evObjectCollection>(stream, progress) : std::make_unique<evObjectCollection>();
}

evBranding::~evBranding()
{
    m_helpTexts.reset();
    m_pictures.reset();
    m_music.reset();
    m_speech.reset();
    evCategory::DestroyAll(std::move(m_chapterTree));
}

void evBranding::SaveToStream(Stream& stream) const
{
    evObject::SaveToStream(stream);
    stream.WriteString(m_name);
    WriteObject(stream, m_chapterTree.get());
    for (const evObjectCollection* list : {m_helpTexts.get(), m_pictures.get(), m_music.get(), m_speech.get()}) {
        if (!list->SaveToStream(stream))
            stream.RaiseWriteFailure();
    }
}

std::unique_ptr<evObject> evBranding::Clone() const
{
    return std::make_unique<evBranding>(m_name, m_chapterTree ? m_chapterTree->CloneCategory() : nullptr,
                                        m_helpTexts->Clone(), m_pictures->Clone(), m_music->Clone(), m_speech->Clone());
}

bool evBranding::IsEqual(const evObject* other) const
{
    const auto* branding = dynamic_cast<const evBranding*>(other);
    if (!branding || branding->m_name != m_name)
        return false;
    if ((m_chapterTree == nullptr) != (branding->m_chapterTree == nullptr))
        return false;
    if (m_chapterTree && !m_chapterTree->IsEqual(branding->m_chapterTree.get()))
        return false;
    return m_helpTexts->IsEqual(*branding->m_helpTexts) && m_pictures->IsEqual(*branding->m_pictures) &&
           m_music->IsEqual(*branding->m_music) && m_speech->IsEqual(*branding->m_speech);
}

std::string evBranding::ToString() const
{
    return "evBranding[" + std::to_string(GetID()) + ", " + std::to_string(GetStoredVersion()) + ", '" + m_name + "']";
}

void evBranding::SetMusic(std::unique_ptr<evObjectCollection> music) { m_music = OrEmpty(std::move(music)); }

void evBranding::SetSpeech(std::unique_ptr<evObjectCollection> speech) { m_speech = OrEmpty(std::move(speech)); }
