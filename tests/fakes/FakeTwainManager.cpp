// A scripted TWAIN data-source manager for the component's tests: it answers every triplet with the return
// code the test set for it (success unless set), logs the calls, reports the condition the test set, hands over
// the bitmap the test gave it and answers MSG_PROCESSEVENT with the message the test queued. Built a second time
// without DSM_Entry, as a library the program must refuse.

#include "platform/GlobalMemory.h"
#include "platform/Twain.h"

#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

using namespace Twain;

struct FakeTwainCall {
    uint32_t dg;
    uint16_t dat;
    uint16_t msg;
    int toSource;
};

namespace {

struct Script {
    std::map<std::tuple<uint32_t, uint16_t, uint16_t>, uint16_t> answers;
    uint16_t condition = TWCC_SUCCESS;
    uint16_t statusAnswer = TWRC_SUCCESS;
    std::string statusText;
    std::string selection = "Fake scanner";
    std::vector<uint8_t> picture;
    uint16_t pending = 0;
    std::deque<uint16_t> messages;
    std::vector<FakeTwainCall> calls;
    uint16_t cap = 0, conType = 0, itemType = 0;
    uint32_t item = 0;
    size_t blockSize = 0;
    uint16_t showUI = 0, modalUI = 0;
};

Script& State()
{
    static Script script;
    return script;
}

uint16_t Answer(uint32_t dg, uint16_t dat, uint16_t msg, uint16_t otherwise = TWRC_SUCCESS)
{
    const auto found = State().answers.find({dg, dat, msg});
    return found == State().answers.end() ? otherwise : found->second;
}

void NoteCapability(const TW_CAPABILITY* capability)
{
    Script& s = State();
    s.cap = capability->Cap;
    s.conType = capability->ConType;
    s.blockSize = GlobalSize(capability->hContainer);
    if (const auto* value = static_cast<const TW_ONEVALUE*>(GlobalLock(capability->hContainer))) {
        s.itemType = value->ItemType;
        s.item = value->Item;
        GlobalUnlock(capability->hContainer);
    }
}

uint16_t ProcessEvent(TW_EVENT* event)
{
    Script& s = State();
    event->TWMessage = MSG_NULL;
    if (s.messages.empty())
        return Answer(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, TWRC_NOTDSEVENT);
    event->TWMessage = s.messages.front();
    s.messages.pop_front();
    s.calls.push_back({DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, 1});
    return TWRC_DSEVENT;
}

uint16_t Transfer(TW_HANDLE* handle)
{
    Script& s = State();
    const uint16_t rc = Answer(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, s.picture.empty() ? TWRC_CANCEL : TWRC_XFERDONE);
    if (rc != TWRC_XFERDONE || s.picture.empty())
        return rc;
    *handle = GlobalAlloc(GMEM_MOVEABLE, s.picture.size());
    std::memcpy(GlobalLock(*handle), s.picture.data(), s.picture.size());
    GlobalUnlock(*handle);
    return rc;
}

uint16_t StatusText(TW_STATUSUTF8* text)
{
    const std::string& words = State().statusText;
    if (words.empty())
        return TWRC_FAILURE;
    text->UTF8string = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, words.size() + 1);
    std::memcpy(GlobalLock(text->UTF8string), words.data(), words.size());
    GlobalUnlock(text->UTF8string);
    text->Size = static_cast<TW_UINT32>(words.size() + 1);
    return TWRC_SUCCESS;
}

[[maybe_unused]] uint16_t Entry(TW_IDENTITY* origin, TW_IDENTITY* dest, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                                TW_MEMREF data)
{
    Script& s = State();
    if (dg == DG_CONTROL && dat == DAT_EVENT && msg == MSG_PROCESSEVENT)
        return ProcessEvent(static_cast<TW_EVENT*>(data));
    s.calls.push_back({dg, dat, msg, dest != nullptr});
    if (dg == DG_CONTROL && dat == DAT_STATUS) {
        static_cast<TW_STATUS*>(data)->ConditionCode = s.condition;
        return s.statusAnswer;
    }
    if (dg == DG_CONTROL && dat == DAT_STATUSUTF8)
        return StatusText(static_cast<TW_STATUSUTF8*>(data));
    if (dg == DG_CONTROL && dat == DAT_PARENT && msg == MSG_OPENDSM)
        origin->Id = 7;
    if (dg == DG_CONTROL && dat == DAT_CAPABILITY)
        NoteCapability(static_cast<TW_CAPABILITY*>(data));
    if (dg == DG_CONTROL && dat == DAT_USERINTERFACE) {
        s.showUI = static_cast<TW_USERINTERFACE*>(data)->ShowUI;
        s.modalUI = static_cast<TW_USERINTERFACE*>(data)->ModalUI;
    }
    if (dg == DG_CONTROL && dat == DAT_IDENTITY && msg == MSG_GETDEFAULT)
        std::strcpy(static_cast<TW_IDENTITY*>(data)->ProductName, "Fake default");
    const uint16_t rc = dg == DG_IMAGE ? Transfer(static_cast<TW_HANDLE*>(data)) : Answer(dg, dat, msg);
    if (dg == DG_CONTROL && dat == DAT_IDENTITY && msg == MSG_USERSELECT && rc == TWRC_SUCCESS) {
        auto* identity = static_cast<TW_IDENTITY*>(data);
        std::memset(identity->ProductName, 0, sizeof(identity->ProductName));
        std::strncpy(identity->ProductName, s.selection.c_str(), sizeof(identity->ProductName) - 1);
        identity->Id = 12;
    }
    if (dg == DG_CONTROL && dat == DAT_PENDINGXFERS)
        static_cast<TW_PENDINGXFERS*>(data)->Count = msg == MSG_ENDXFER ? s.pending : 0;
    return rc;
}

} // namespace

#ifndef FAKE_TWAIN_WITHOUT_ENTRY
FAKE_EXPORT TW_UINT16 DSM_Entry(TW_IDENTITY* origin, TW_IDENTITY* dest, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                                TW_MEMREF data)
{
    return Entry(origin, dest, dg, dat, msg, data);
}
#endif

FAKE_EXPORT void FakeTwain_Reset() { State() = Script(); }
FAKE_EXPORT void FakeTwain_SetAnswer(uint32_t dg, uint16_t dat, uint16_t msg, uint16_t rc)
{
    State().answers[{dg, dat, msg}] = rc;
}
FAKE_EXPORT void FakeTwain_SetCondition(uint16_t code, uint16_t statusAnswer, const char* text)
{
    State().condition = code;
    State().statusAnswer = statusAnswer;
    State().statusText = text ? text : "";
}
FAKE_EXPORT void FakeTwain_SetSelection(const char* productName) { State().selection = productName; }
FAKE_EXPORT void FakeTwain_SetPicture(const void* dib, size_t size, uint16_t pending)
{
    const auto* bytes = static_cast<const uint8_t*>(dib);
    State().picture.assign(bytes, bytes + size);
    State().pending = pending;
}
FAKE_EXPORT void FakeTwain_QueueMessage(uint16_t msg) { State().messages.push_back(msg); }
FAKE_EXPORT int FakeTwain_CallCount() { return static_cast<int>(State().calls.size()); }
FAKE_EXPORT FakeTwainCall FakeTwain_CallAt(int i) { return State().calls.at(static_cast<size_t>(i)); }
FAKE_EXPORT void FakeTwain_Capability(uint16_t* cap, uint16_t* conType, size_t* blockSize, uint16_t* itemType,
                                      uint32_t* item)
{
    *cap = State().cap;
    *conType = State().conType;
    *blockSize = State().blockSize;
    *itemType = State().itemType;
    *item = State().item;
}
FAKE_EXPORT void FakeTwain_UserInterface(uint16_t* showUI, uint16_t* modalUI)
{
    *showUI = State().showUI;
    *modalUI = State().modalUI;
}
