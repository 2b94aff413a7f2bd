// evplay.exe, the Windows starter of every disc folder. The album itself is the browser player index.html beside
// this program; the starter only asks Windows to open that file in the default browser. It uses the Win32 API and
// nothing else, so it is cross-built with MinGW-w64, linked statically and runs on any Windows without extra DLLs.
//
// Exit status 0 when the browser was asked to open index.html, 1 when index.html is missing or could not be opened;
// then a message box names the file and tells the user what to do by hand. With VELLORA_STARTER_NO_DIALOG set to
// a non-empty value the message goes to standard error instead (tests run the starter where nobody can click).

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#define WIN32_LEAN_AND_MEAN

#include <objbase.h>
#include <shellapi.h>
#include <windows.h>

// No C++ library on purpose: bounded buffers keep the program a few kilobytes small.
namespace {

const wchar_t kAlbumFile[] = L"index.html";
const wchar_t kTitle[] = L"Vellora album";
constexpr DWORD kLongestPath = 32768; // the longest path Windows knows, in characters with the final zero

// Text of bounded length: what does not fit is cut off, never written past the end.
template <DWORD Capacity>
struct Text {
    wchar_t chars[Capacity] = {};
    DWORD length = 0;

    void Append(const wchar_t* text)
    {
        for (; *text != L'\0' && length + 1 < Capacity; ++text)
            chars[length++] = *text;
        chars[length] = L'\0';
    }

    void AppendNumber(long long number)
    {
        wchar_t digits[24];
        int count = 0;
        const bool negative = number < 0;
        unsigned long long rest = negative ? 0ULL - static_cast<unsigned long long>(number) : number;
        do {
            digits[count++] = static_cast<wchar_t>(L'0' + rest % 10);
            rest /= 10;
        } while (rest != 0);
        if (negative)
            Append(L"-");
        wchar_t one[2] = {};
        while (count > 0) {
            one[0] = digits[--count];
            Append(one);
        }
    }
};

using PathText = Text<kLongestPath>;
PathText g_folder; // this program's folder with its final separator
PathText g_album;  // index.html in that folder
Text<kLongestPath + 1024> g_message;

// The folder of this program, with its final separator. False when Windows cannot tell or the path is too long.
bool FindOwnFolder(PathText& folder)
{
    const DWORD length = GetModuleFileNameW(nullptr, folder.chars, kLongestPath);
    if (length == 0 || length >= kLongestPath)
        return false;
    DWORD end = length;
    while (end > 0 && folder.chars[end - 1] != L'\\' && folder.chars[end - 1] != L'/')
        --end;
    folder.length = end;
    folder.chars[end] = L'\0';
    return end > 0;
}

bool IsPlainFile(const wchar_t* path)
{
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Why ShellExecuteW failed, in words; its result codes 0..32 are the old WinExec errors.
void AppendShellError(INT_PTR code)
{
    switch (code) {
    case 0:
    case SE_ERR_OOM: g_message.Append(L"Windows ran out of memory."); break;
    case SE_ERR_FNF:
    case SE_ERR_PNF: g_message.Append(L"Windows could not find the file."); break;
    case SE_ERR_ACCESSDENIED:
    case SE_ERR_SHARE: g_message.Append(L"Windows was not allowed to read the file."); break;
    case SE_ERR_NOASSOC:
    case SE_ERR_ASSOCINCOMPLETE: g_message.Append(L"No web browser is set up to open .html files."); break;
    default:
        g_message.Append(L"Windows reported error ");
        g_message.AppendNumber(code);
        g_message.Append(L".");
        break;
    }
}

bool DialogsSuppressed()
{
    wchar_t value[8] = {};
    return GetEnvironmentVariableW(L"VELLORA_STARTER_NO_DIALOG", value, 8) > 0;
}

// Writes the message as UTF-8 to standard error, if the program has one (started from Explorer it has none).
void WriteMessageToStandardError()
{
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (error == nullptr || error == INVALID_HANDLE_VALUE)
        return;
    static char bytes[sizeof(g_message.chars) * 2];
    const int size = WideCharToMultiByte(CP_UTF8, 0, g_message.chars, static_cast<int>(g_message.length), bytes,
                                         static_cast<int>(sizeof(bytes) - 1), nullptr, nullptr);
    if (size <= 0)
        return;
    bytes[size] = '\n';
    DWORD written = 0;
    WriteFile(error, bytes, static_cast<DWORD>(size) + 1, &written, nullptr);
}

// Shows (or writes) the message started by the caller after adding what the user can do, and gives status 1.
int Fail()
{
    g_message.Append(L"\n\nTo watch the album, open the file index.html from the disc in a web browser "
                     L"(for example by double-clicking it in the disc's folder).");
    if (DialogsSuppressed())
        WriteMessageToStandardError();
    else
        MessageBoxW(nullptr, g_message.chars, kTitle, MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
    return 1;
}

void StartMessage(const wchar_t* file)
{
    g_message.Append(L"The album could not be started.\n\nFile: ");
    g_message.Append(file);
    g_message.Append(L"\n");
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    if (!FindOwnFolder(g_folder)) {
        StartMessage(kAlbumFile);
        g_message.Append(L"Windows did not tell the starter in which folder it is.");
        return Fail();
    }
    g_album.Append(g_folder.chars);
    g_album.Append(kAlbumFile);
    if (g_album.length != g_folder.length + (sizeof(kAlbumFile) / sizeof(wchar_t) - 1)) {
        StartMessage(kAlbumFile);
        g_message.Append(L"The folder's path is too long.");
        return Fail();
    }
    if (!IsPlainFile(g_album.chars)) {
        StartMessage(g_album.chars);
        g_message.Append(L"The file is missing.");
        return Fail();
    }

    // The shell may hand the file to a handler that needs COM; ShellExecute asks for it to be set up first.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const INT_PTR result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", g_album.chars, nullptr, g_folder.chars, SW_SHOWNORMAL));
    if (SUCCEEDED(com))
        CoUninitialize();
    if (result <= 32) {
        StartMessage(g_album.chars);
        AppendShellError(result);
        return Fail();
    }
    return 0;
}
