#pragma once
// The part of the TWAIN protocol that the program and our data-source manager speak: the records, triplet codes,
// return and condition codes and the entry point's signature, with the values of the published standard. Records
// are packed to 2 bytes as on the platform the standard was written for, so an identity is 156 bytes.
//
// Two things are this platform's own: a TW_HANDLE is a block of platform/GlobalMemory, and the event record's
// pEvent points to the application message of platform/MessageHook, the stand-in of a window message.

#include <cstdint>

using TW_UINT16 = uint16_t;
using TW_UINT32 = uint32_t;
using TW_INT16 = int16_t;
using TW_BOOL = uint16_t;
using TW_MEMREF = void*;
using TW_HANDLE = void*;
using TW_STR32 = char[34];

#pragma pack(push, 2)

struct TW_VERSION {
    TW_UINT16 MajorNum;
    TW_UINT16 MinorNum;
    TW_UINT16 Language;
    TW_UINT16 Country;
    TW_STR32 Info;
};

struct TW_IDENTITY {
    TW_UINT32 Id;
    TW_VERSION Version;
    TW_UINT16 ProtocolMajor;
    TW_UINT16 ProtocolMinor;
    TW_UINT32 SupportedGroups;
    TW_STR32 Manufacturer;
    TW_STR32 ProductFamily;
    TW_STR32 ProductName;
};

struct TW_USERINTERFACE {
    TW_BOOL ShowUI;
    TW_BOOL ModalUI;
    TW_HANDLE hParent;
};

struct TW_EVENT {
    TW_MEMREF pEvent;
    TW_UINT16 TWMessage;
};

struct TW_PENDINGXFERS {
    TW_UINT16 Count;
    TW_UINT32 Reserved;
};

struct TW_STATUS {
    TW_UINT16 ConditionCode;
    TW_UINT16 Reserved;
};

// The text of a status (TWAIN 2.1): the caller passes the status it got; the answer is a block holding Size
// bytes of UTF-8 text with its terminating zero, which the caller frees.
struct TW_STATUSUTF8 {
    TW_STATUS Status;
    TW_UINT32 Size;
    TW_HANDLE UTF8string;
};

struct TW_CAPABILITY {
    TW_UINT16 Cap;
    TW_UINT16 ConType;
    TW_HANDLE hContainer;
};

struct TW_ONEVALUE {
    TW_UINT16 ItemType;
    TW_UINT32 Item;
};

#pragma pack(pop)

static_assert(sizeof(TW_IDENTITY) == 156, "a TWAIN identity is 156 bytes");
static_assert(sizeof(TW_ONEVALUE) == 6, "a one-value container is 6 bytes");

extern "C" {
using DSMENTRYPROC = TW_UINT16 (*)(TW_IDENTITY* pOrigin, TW_IDENTITY* pDest, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG,
                                   TW_MEMREF pData);
}

namespace Twain {

// Data groups.
constexpr TW_UINT32 DG_CONTROL = 0x0001;
constexpr TW_UINT32 DG_IMAGE = 0x0002;

// Data argument types.
constexpr TW_UINT16 DAT_CAPABILITY = 0x0001;
constexpr TW_UINT16 DAT_EVENT = 0x0002;
constexpr TW_UINT16 DAT_IDENTITY = 0x0003;
constexpr TW_UINT16 DAT_PARENT = 0x0004;
constexpr TW_UINT16 DAT_PENDINGXFERS = 0x0005;
constexpr TW_UINT16 DAT_STATUS = 0x0008;
constexpr TW_UINT16 DAT_USERINTERFACE = 0x0009;
constexpr TW_UINT16 DAT_STATUSUTF8 = 0x0011;
constexpr TW_UINT16 DAT_IMAGENATIVEXFER = 0x0104;

// Messages.
constexpr TW_UINT16 MSG_NULL = 0x0000;
constexpr TW_UINT16 MSG_GET = 0x0001;
constexpr TW_UINT16 MSG_GETDEFAULT = 0x0003;
constexpr TW_UINT16 MSG_SET = 0x0006;
constexpr TW_UINT16 MSG_RESET = 0x0007;
constexpr TW_UINT16 MSG_XFERREADY = 0x0101;
constexpr TW_UINT16 MSG_CLOSEDSREQ = 0x0102;
constexpr TW_UINT16 MSG_CLOSEDSOK = 0x0103;
constexpr TW_UINT16 MSG_OPENDSM = 0x0301;
constexpr TW_UINT16 MSG_CLOSEDSM = 0x0302;
constexpr TW_UINT16 MSG_OPENDS = 0x0401;
constexpr TW_UINT16 MSG_CLOSEDS = 0x0402;
constexpr TW_UINT16 MSG_USERSELECT = 0x0403;
constexpr TW_UINT16 MSG_DISABLEDS = 0x0501;
constexpr TW_UINT16 MSG_ENABLEDS = 0x0502;
constexpr TW_UINT16 MSG_PROCESSEVENT = 0x0601;
constexpr TW_UINT16 MSG_ENDXFER = 0x0701;

// Return codes.
constexpr TW_UINT16 TWRC_SUCCESS = 0;
constexpr TW_UINT16 TWRC_FAILURE = 1;
constexpr TW_UINT16 TWRC_CHECKSTATUS = 2;
constexpr TW_UINT16 TWRC_CANCEL = 3;
constexpr TW_UINT16 TWRC_DSEVENT = 4;
constexpr TW_UINT16 TWRC_NOTDSEVENT = 5;
constexpr TW_UINT16 TWRC_XFERDONE = 6;

// Condition codes.
constexpr TW_UINT16 TWCC_SUCCESS = 0;
constexpr TW_UINT16 TWCC_BUMMER = 1;
constexpr TW_UINT16 TWCC_LOWMEMORY = 2;
constexpr TW_UINT16 TWCC_NODS = 3;
constexpr TW_UINT16 TWCC_MAXCONNECTIONS = 4;
constexpr TW_UINT16 TWCC_OPERATIONERROR = 5;
constexpr TW_UINT16 TWCC_BADCAP = 6;
constexpr TW_UINT16 TWCC_BADPROTOCOL = 9;
constexpr TW_UINT16 TWCC_BADVALUE = 10;
constexpr TW_UINT16 TWCC_SEQERROR = 11;
constexpr TW_UINT16 TWCC_BADDEST = 12;
constexpr TW_UINT16 TWCC_CAPUNSUPPORTED = 13;
constexpr TW_UINT16 TWCC_PAPERJAM = 20;

// Capabilities, containers, item types and transfer mechanisms.
constexpr TW_UINT16 ICAP_XFERMECH = 0x0103;
constexpr TW_UINT16 TWON_ONEVALUE = 5;
constexpr TW_UINT16 TWTY_UINT16 = 4;
constexpr TW_UINT16 TWSX_NATIVE = 0;

constexpr TW_BOOL TW_TRUE = 0xFFFF;
constexpr TW_BOOL TW_FALSE = 0;

// The languages and countries the program can announce.
constexpr TW_UINT16 TWLG_DAN = 0;
constexpr TW_UINT16 TWLG_DUT = 1;
constexpr TW_UINT16 TWLG_ENG = 2;
constexpr TW_UINT16 TWLG_FIN = 4;
constexpr TW_UINT16 TWLG_FRN = 5;
constexpr TW_UINT16 TWLG_GER = 6;
constexpr TW_UINT16 TWLG_ITN = 8;
constexpr TW_UINT16 TWLG_NOR = 9;
constexpr TW_UINT16 TWLG_POR = 10;
constexpr TW_UINT16 TWLG_SPA = 11;
constexpr TW_UINT16 TWLG_SWE = 12;
constexpr TW_UINT16 TWLG_USA = 13;
constexpr TW_UINT16 TWLG_GREEK = 63;
constexpr TW_UINT16 TWLG_POLISH = 75;
constexpr TW_UINT16 TWLG_RUSSIAN = 78;
constexpr TW_UINT16 TWLG_TURKISH = 85;

constexpr TW_UINT16 TWCY_USA = 1;
constexpr TW_UINT16 TWCY_BRITAIN = 6;
constexpr TW_UINT16 TWCY_RUSSIA = 7;
constexpr TW_UINT16 TWCY_GREECE = 30;
constexpr TW_UINT16 TWCY_NETHERLANDS = 31;
constexpr TW_UINT16 TWCY_FRANCE = 33;
constexpr TW_UINT16 TWCY_SPAIN = 34;
constexpr TW_UINT16 TWCY_ITALY = 39;
constexpr TW_UINT16 TWCY_DENMARK = 45;
constexpr TW_UINT16 TWCY_SWEDEN = 46;
constexpr TW_UINT16 TWCY_NORWAY = 47;
constexpr TW_UINT16 TWCY_POLAND = 48;
constexpr TW_UINT16 TWCY_GERMANY = 49;
constexpr TW_UINT16 TWCY_TURKEY = 90;
constexpr TW_UINT16 TWCY_PORTUGAL = 351;
constexpr TW_UINT16 TWCY_FINLAND = 358;

} // namespace Twain
