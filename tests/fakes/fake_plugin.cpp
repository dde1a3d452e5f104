// A configurable stand-in for a catalogued plug-in. One source, built several times
// with different export lists. Each copy reads its behaviour from "<own path>.cfg"
// and appends one line per call to "<own path>.log", so a test can see what it was
// asked and how often it was loaded ("attach") and freed ("detach").
//
// Configuration lines are key=value; "\n", "\r", "\t" and "\\" are escapes in values.
//   info.N=text          answer to GetPluginInfo(N); numbers without a line answer 0
//   info.N.fill=L        answer L bytes of 'a'..'z' instead
//   info.N.silent=1      answer non-zero without writing anything
//   info.all=text        answer to every number that has no info.N line of its own
//   info.all.fill=L      answer L bytes of 'a'..'z' to every such number
//   info.N.unterminated=1  fill the whole buffer, its last byte too, with 'u'
//   IsSupported=R        result of IsSupported (default 1); the same key for every
//   IsSupported.read=N   when IsSupported gets a file handle, read N bytes from it
//                        and log them
//   IsSupported.header=1 when IsSupported gets a header buffer, log its text up to
//                        the first zero byte and how many of its 2048 bytes are not zero
//   GetPictureInfo=R     other entry point gives its result (default 0)
//   pictureText=text     the hInfo text GetPictureInfo hands over
//   unpadded=1           GetPictureInfo writes hInfo at offset 22, as x64 plug-ins
//                        built without the record's padding do
//   callback=1           the picture and GetFile calls call the host's progress callback
//   cancel=1             ...and return 1 when it answers non-zero, as plug-ins stop
//   quiet=1              log only loads and unloads (for calls by the thousand)
//   closeStdout=1        close the process's standard-output handle when loaded
//   logProcess=1         log "process|ID" with the loading process's id when loaded
//   mark=B               pixel byte of the 2x2, 8-bit picture GetPicture returns
//   entries=a.txt,b.txt  the entries GetArchiveInfo lists (each with a time stamp and
//                        a CRC of its own)
//   entryPath=text       the folder GetArchiveInfo gives every entry
//   unpaddedTable=1      the entry tables come in steps of the record's fields, without
//                        the padding x64 records end in
//   content.NAME=text    what GetFile extracts for entry NAME
//   beyond32.NAME=FIELD  (64-bit builds) entry NAME's position, fileSize or timestamp
//                        in tables and records gets a value past 32 bits
//   reenter=MODULE       during IsSupported and GetPicture, call IsSupported of the
//                        loaded MODULE (by file name) and log the answer
//   NAMEW=R              result of the W entry point NAMEW (default: that of NAME)
//   fail.NAME=ways       IsSupported, GetPicture, GetArchiveInfo or GetFile, given a
//                        file whose name starts with one of the comma-separated ways
//                        "crash", "hang" or "exit", does that instead of answering
// The W entry points (exported by the "wide" build) log their names in UTF-8; the
// archive ones hand out no table, record or file unless "wideTable=1".
#include <windows.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "plugin_interface.h"

namespace {

HMODULE ownModule = nullptr;

std::string OwnPath()
{
    char buffer[4096] = {};
    GetModuleFileNameA(ownModule, buffer, sizeof buffer);
    return buffer;
}

bool Has(const std::string& key);
int Number(const std::string& key, int fallback);

void Log(const std::string& line)
{
    if (line.compare(0, 6, "attach") != 0 && line.compare(0, 6, "detach") != 0 && Number("quiet", 0))
        return;
    std::string path = OwnPath() + ".log";
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

std::string Unescape(const std::string& value)
{
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            char next = value[++i];
            out.push_back(next == 'n' ? '\n' : next == 'r' ? '\r' : next == 't' ? '\t' : next);
        } else {
            out.push_back(value[i]);
        }
    }
    return out;
}

const std::map<std::string, std::string>& Config()
{
    static std::map<std::string, std::string> config = [] {
        std::map<std::string, std::string> values;
        std::string path = OwnPath() + ".cfg";
        FILE* file = std::fopen(path.c_str(), "rb");
        if (!file)
            return values;
        std::string text;
        char chunk[4096];
        std::size_t got;
        while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
            text.append(chunk, got);
        std::fclose(file);
        std::istringstream lines(text);
        std::string line;
        while (std::getline(lines, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            std::string::size_type equals = line.find('=');
            if (equals != std::string::npos)
                values[line.substr(0, equals)] = Unescape(line.substr(equals + 1));
        }
        return values;
    }();
    return config;
}

bool Has(const std::string& key)
{
    return Config().count(key) != 0;
}

std::string Value(const std::string& key, const std::string& fallback = "")
{
    auto found = Config().find(key);
    return found == Config().end() ? fallback : found->second;
}

int Number(const std::string& key, int fallback)
{
    return Has(key) ? std::atoi(Value(key).c_str()) : fallback;
}

std::string Pointer(const void* pointer)
{
    char text[32];
    std::snprintf(text, sizeof text, "%p", pointer);
    return text;
}

std::string InputName(LPCSTR buf, unsigned int flag)
{
    return (flag & kSpiInputMask) == kSpiInputFile ? std::string(buf ? buf : "") : "memory:" + Pointer(buf);
}

void Reenter()
{
    if (!Has("reenter"))
        return;
    HMODULE front = GetModuleHandleA(Value("reenter").c_str());
    auto* isSupported = reinterpret_cast<IsSupportedFunction*>(
        reinterpret_cast<void (*)()>(GetProcAddress(front, "IsSupported")));
    if (isSupported)
        Log("reenter|IsSupported|" + std::to_string(isSupported("reentered.name", 0)));
}

void Misbehave(const std::string& name, const std::string& input)
{
    const std::string ways = Value("fail." + name);
    const std::string file = input.substr(input.find_last_of('\\') + 1);
    auto meant = [&](const std::string& way) {
        return ways.find(way) != std::string::npos && file.compare(0, way.size(), way) == 0;
    };
    if (meant("crash"))
        *static_cast<volatile int*>(nullptr) = 1;
    else if (meant("hang"))
        Sleep(INFINITE);
    else if (meant("exit"))
        ExitProcess(7);
}

// True when the host's callback asked this plug-in to stop.
bool CallBack(SpiProgressCallback* progressCallback, LONG_PTR lData)
{
    if (!Number("callback", 0) || !progressCallback)
        return false;
    const int answer = progressCallback(0, 1, lData);
    Log("callback|" + std::to_string(answer));
    return answer != 0 && Number("cancel", 0);
}

HLOCAL Allocate(const void* data, std::size_t size)
{
    HLOCAL handle = LocalAlloc(LMEM_MOVEABLE, size);
    if (handle) {
        std::memcpy(LocalLock(handle), data, size);
        LocalUnlock(handle);
    }
    return handle;
}

std::string Utf8(LPCWSTR text)
{
    if (!text)
        return "(null)";
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(bytes > 0 ? bytes : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &utf8[0], bytes, nullptr, nullptr);
    return utf8.c_str();
}

std::string InputName(LPCWSTR buf, unsigned int flag)
{
    return (flag & kSpiInputMask) == kSpiInputFile ? Utf8(buf) : "memory:" + Pointer(buf);
}

int WideResult(const std::string& name, int fallback)
{
    return Number(name + "W", Number(name, fallback));
}

// Some x64 plug-ins were built without the records' padding.
template <class Record>
HLOCAL AllocateTable(const std::vector<Record>& table)
{
    const std::size_t step = Number("unpaddedTable", 0) ? offsetof(Record, crc) + sizeof(ULONG) : sizeof(Record);
    std::vector<unsigned char> bytes(table.size() * step);
    for (std::size_t i = 0; i < table.size(); ++i)
        std::memcpy(&bytes[i * step], &table[i], step);
    return Allocate(bytes.data(), bytes.size());
}

template <class Record>
void PutBeyond32(const std::string& entry, Record& info)
{
#if defined(_WIN64)
    const std::string field = Value("beyond32." + entry);
    if (field == "position")
        info.position += 0x100000000ull;
    else if (field == "fileSize")
        info.fileSize += 0x100000000ull;
    else if (field == "timestamp")
        info.timestamp = -0x80000001ll;
#else
    (void)entry;
    (void)info;
#endif
}

std::vector<std::string> Entries()
{
    std::vector<std::string> entries;
    std::istringstream list(Value("entries"));
    std::string entry;
    while (std::getline(list, entry, ','))
        entries.push_back(entry);
    return entries;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        ownModule = instance;
        Log("attach");
        if (Number("logProcess", 0))
            Log("process|" + std::to_string(GetCurrentProcessId()));
        if (Number("closeStdout", 0))
            CloseHandle(GetStdHandle(STD_OUTPUT_HANDLE));
        if (Number("refuseLoad", 0))
            return FALSE;
    } else if (reason == DLL_PROCESS_DETACH) {
        Log(reserved ? "detach|exit" : "detach");
    }
    return TRUE;
}

int WINAPI GetPluginInfo(int infono, LPSTR buf, int buflen)
{
    Log("GetPluginInfo|" + std::to_string(infono) + "|" + std::to_string(buflen));
    std::string key = "info." + std::to_string(infono);
    if (Number(key + ".silent", 0))
        return 1;
    if (Number(key + ".unterminated", 0)) {
        if (buf && buflen > 0)
            std::memset(buf, 'u', buflen);
        return 1;
    }
    std::string text;
    std::string fill = Has(key + ".fill") ? key + ".fill" : Has(key) ? "" : "info.all.fill";
    if (Has(fill)) {
        int length = Number(fill, 0);
        for (int i = 0; i < length; ++i)
            text.push_back(static_cast<char>('a' + i % 26));
    } else if (Has(key)) {
        text = Value(key);
    } else if (Has("info.all")) {
        text = Value("info.all");
    } else {
        return 0;
    }
    if (!buf || buflen < 1)
        return 0;
    int copied = static_cast<int>(text.size()) < buflen - 1 ? static_cast<int>(text.size()) : buflen - 1;
    std::memcpy(buf, text.data(), copied);
    buf[copied] = '\0';
    return copied > 0 ? copied : 1;
}

int WINAPI IsSupported(LPCSTR filename, ULONG_PTR dw)
{
    Log("IsSupported|" + std::string(filename ? filename : "(null)") + "|" + std::to_string(dw));
    Misbehave("IsSupported", filename ? filename : "");
    if (Has("IsSupported.read") && dw != 0 && (dw >> 16) == 0) {
        std::string bytes(Number("IsSupported.read", 0), '\0');
        DWORD got = 0;
        ReadFile(reinterpret_cast<HANDLE>(dw), &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr);
        Log("read|" + bytes.substr(0, got));
    }
    if (Number("IsSupported.header", 0) && (dw >> 16) != 0) {
        const char* header = reinterpret_cast<const char*>(dw);
        int nonZero = 0;
        for (int i = 0; i < 2048; ++i)
            nonZero += header[i] != 0;
        Log("header|" + std::string(header, strnlen(header, 2048)) + "|" + std::to_string(nonZero));
    }
    Reenter();
    return Number("IsSupported", 1);
}

int WINAPI GetPictureInfo(LPCSTR buf, LONG_PTR len, unsigned int flag, SpiPictureInfo* lpInfo)
{
    Log("GetPictureInfo|" + InputName(buf, flag) + "|" + std::to_string(len) + "|" + std::to_string(flag));
    int result = Number("GetPictureInfo", 0);
    if (result == 0 && lpInfo) {
        // Some x64 plug-ins lay the record out without the padding before hInfo.
        const std::size_t textOffset = Number("unpadded", 0) ? 22 : offsetof(SpiPictureInfo, hInfo);
        std::memset(lpInfo, 0, textOffset + sizeof(HLOCAL));
        lpInfo->width = 2;
        lpInfo->height = 2;
        lpInfo->colorDepth = 8;
        std::string text = Value("pictureText");
        HLOCAL textHandle = text.empty() ? nullptr : Allocate(text.c_str(), text.size() + 1);
        std::memcpy(reinterpret_cast<char*>(lpInfo) + textOffset, &textHandle, sizeof textHandle);
    }
    return result;
}

static int MakePicture(const std::string& name, const std::string& input, int result, LONG_PTR len,
                       unsigned int flag, HLOCAL* pHBInfo, HLOCAL* pHBm, SpiProgressCallback* progressCallback,
                       LONG_PTR lData)
{
    Log(name + "|" + input + "|" + std::to_string(len) + "|" + std::to_string(flag));
    Misbehave("GetPicture", input);
    Reenter();
    if (CallBack(progressCallback, lData))
        return kSpiCancelled;
    if (result != 0 || !pHBInfo || !pHBm)
        return result;
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD palette[256];
    } info = {};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = 2;
    info.header.biHeight = 2;
    info.header.biPlanes = 1;
    info.header.biBitCount = 8;
    info.header.biClrUsed = 256;
    for (int i = 0; i < 256; ++i)
        info.palette[i] = RGBQUAD{static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i), 0};
    BYTE mark = static_cast<BYTE>(Number("mark", 0x5a));
    BYTE bits[8] = {mark, mark, 0, 0, mark, mark, 0, 0};  // rows padded to 4 bytes
    *pHBInfo = Allocate(&info, sizeof info);
    *pHBm = Allocate(bits, sizeof bits);
    return (*pHBInfo && *pHBm) ? 0 : kSpiOutOfMemory;
}

int WINAPI GetPicture(LPCSTR buf, LONG_PTR len, unsigned int flag, HLOCAL* pHBInfo, HLOCAL* pHBm,
                      SpiProgressCallback* progressCallback, LONG_PTR lData)
{
    return MakePicture("GetPicture", InputName(buf, flag), Number("GetPicture", 0), len, flag, pHBInfo, pHBm,
                       progressCallback, lData);
}

int WINAPI GetPreview(LPCSTR buf, LONG_PTR len, unsigned int flag, HLOCAL* pHBInfo, HLOCAL* pHBm,
                      SpiProgressCallback* progressCallback, LONG_PTR lData)
{
    return MakePicture("GetPreview", InputName(buf, flag), Number("GetPreview", 0), len, flag, pHBInfo, pHBm,
                       progressCallback, lData);
}

int WINAPI GetArchiveInfo(LPCSTR buf, LONG_PTR len, unsigned int flag, HLOCAL* lphInf)
{
    Log("GetArchiveInfo|" + InputName(buf, flag) + "|" + std::to_string(len) + "|" + std::to_string(flag));
    Misbehave("GetArchiveInfo", InputName(buf, flag));
    int result = Number("GetArchiveInfo", 0);
    if (result != 0 || !lphInf)
        return result;
    std::vector<std::string> entries = Entries();
    std::vector<SpiFileInfo> table(entries.size() + 1);
    std::memset(table.data(), 0, table.size() * sizeof(SpiFileInfo));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SpiFileInfo& info = table[i];
        std::memcpy(info.method, "FAKE", 4);
        info.position = i;
        std::string content = Value("content." + entries[i]);
        info.compressedSize = info.fileSize = content.size();
        info.timestamp = static_cast<LONG_PTR>(1700000000 + i);
        info.crc = static_cast<ULONG>(0xC0DE0000 + i);
        std::snprintf(info.path, sizeof info.path, "%s", Value("entryPath").c_str());
        std::snprintf(info.fileName, sizeof info.fileName, "%s", entries[i].c_str());
        PutBeyond32(entries[i], info);
    }
    *lphInf = AllocateTable(table);
    return *lphInf ? 0 : kSpiOutOfMemory;
}

int WINAPI GetFileInfo(LPCSTR buf, LONG_PTR len, LPCSTR entryName, unsigned int flag, SpiFileInfo* lpInfo)
{
    Log("GetFileInfo|" + InputName(buf, flag) + "|" + std::to_string(len) + "|" +
        std::string(entryName ? entryName : "(null)") + "|" + std::to_string(flag));
    int result = Number("GetFileInfo", 0);
    if (result != 0 || !lpInfo || !entryName)
        return result;
    std::vector<std::string> entries = Entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i] == entryName) {
            std::memset(lpInfo, 0, sizeof *lpInfo);
            lpInfo->position = i;
            lpInfo->fileSize = Value("content." + entries[i]).size();
            std::snprintf(lpInfo->fileName, sizeof lpInfo->fileName, "%s", entryName);
            PutBeyond32(entries[i], *lpInfo);
            return 0;
        }
    }
    return kSpiUnknownFormat;
}

int WINAPI GetFile(LPCSTR buf, LONG_PTR len, LPSTR dest, unsigned int flag, SpiProgressCallback* progressCallback,
                   LONG_PTR lData)
{
    bool toMemory = (flag & kSpiOutputMask) == kSpiOutputMemory;
    Log("GetFile|" + InputName(buf, flag) + "|" + std::to_string(len) + "|" +
        (toMemory ? "memory" : std::string(dest ? dest : "(null)")) + "|" + std::to_string(flag));
    Misbehave("GetFile", InputName(buf, flag));
    CallBack(progressCallback, lData);
    int result = Number("GetFile", 0);
    std::vector<std::string> entries = Entries();
    if (result != 0 || !dest || len < 0 || static_cast<std::size_t>(len) >= entries.size())
        return result != 0 ? result : kSpiBrokenData;
    std::string content = Value("content." + entries[len]);
    if (toMemory) {
        HLOCAL* target = reinterpret_cast<HLOCAL*>(dest);
        *target = Allocate(content.data(), content.size());
        return *target ? 0 : kSpiOutOfMemory;
    }
    std::string path = std::string(dest) + "\\" + entries[len];
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return kSpiReadError;
    std::fwrite(content.data(), 1, content.size(), file);
    std::fclose(file);
    return 0;
}

int WINAPI ConfigurationDlg(HWND parent, int fnc)
{
    Log("ConfigurationDlg|" + Pointer(parent) + "|" + std::to_string(fnc));
    return Number("ConfigurationDlg", 0);
}

int WINAPI IsSupportedW(LPCWSTR filename, ULONG_PTR dw)
{
    Log("IsSupportedW|" + Utf8(filename) + "|" + std::to_string(dw));
    return WideResult("IsSupported", 1);
}

int WINAPI GetPictureInfoW(LPCWSTR buf, LONG_PTR len, unsigned int flag, SpiPictureInfo*)
{
    Log("GetPictureInfoW|" + InputName(buf, flag) + "|" + std::to_string(len) + "|" + std::to_string(flag));
    return WideResult("GetPictureInfo", 0);
}

int WINAPI GetPictureW(LPCWSTR buf, LONG_PTR len, unsigned int flag, HLOCAL* pHBInfo, HLOCAL* pHBm,
                       SpiProgressCallback* progressCallback, LONG_PTR lData)
{
    return MakePicture("GetPictureW", InputName(buf, flag), WideResult("GetPicture", 0), len, flag, pHBInfo, pHBm,
                       progressCallback, lData);
}

int WINAPI GetPreviewW(LPCWSTR buf, LONG_PTR len, unsigned int flag, HLOCAL* pHBInfo, HLOCAL* pHBm,
                       SpiProgressCallback* progressCallback, LONG_PTR lData)
{
    return MakePicture("GetPreviewW", InputName(buf, flag), WideResult("GetPreview", 0), len, flag, pHBInfo, pHBm,
                       progressCallback, lData);
}

// "wideTable=1": the W entry points hand out fileInfoW tables and records, with the
// entry names in UTF-16.
void FillWideField(WCHAR* field, std::size_t units, const std::string& utf8)
{
    std::memset(field, 0, units * sizeof(WCHAR));
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, field, static_cast<int>(units) - 1);
}

int WINAPI GetArchiveInfoW(LPCWSTR buf, LONG_PTR len, unsigned int flag, HLOCAL* lphInf)
{
    Log("GetArchiveInfoW|" + InputName(buf, flag) + "|" + std::to_string(len) + "|" + std::to_string(flag));
    int result = WideResult("GetArchiveInfo", 0);
    if (result != 0 || !lphInf || Value("wideTable") != "1")
        return result;
    std::vector<std::string> entries = Entries();
    std::vector<SpiFileInfoW> table(entries.size() + 1);
    std::memset(table.data(), 0, table.size() * sizeof(SpiFileInfoW));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SpiFileInfoW& info = table[i];
        std::memcpy(info.method, "FAKEW", 5);
        info.position = i;
        info.compressedSize = info.fileSize = Value("content." + entries[i]).size();
        info.timestamp = static_cast<LONG_PTR>(1700000000 + i);
        info.crc = static_cast<ULONG>(0xC0DE0000 + i);
        FillWideField(info.path, 200, Value("entryPath"));
        FillWideField(info.fileName, 200, entries[i]);
        PutBeyond32(entries[i], info);
    }
    *lphInf = AllocateTable(table);
    return *lphInf ? 0 : kSpiOutOfMemory;
}

int WINAPI GetFileInfoW(LPCWSTR buf, LONG_PTR len, LPCWSTR entryName, unsigned int flag, SpiFileInfoW* lpInfo)
{
    Log("GetFileInfoW|" + InputName(buf, flag) + "|" + std::to_string(len) + "|" + Utf8(entryName) + "|" +
        std::to_string(flag));
    int result = WideResult("GetFileInfo", 0);
    if (result != 0 || !lpInfo || !entryName || Value("wideTable") != "1")
        return result;
    std::vector<std::string> entries = Entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i] == Utf8(entryName)) {
            std::memset(lpInfo, 0, sizeof *lpInfo);
            lpInfo->position = i;
            lpInfo->fileSize = Value("content." + entries[i]).size();
            FillWideField(lpInfo->fileName, 200, entries[i]);
            PutBeyond32(entries[i], *lpInfo);
            return 0;
        }
    }
    return kSpiUnknownFormat;
}

int WINAPI GetFileW(LPCWSTR buf, LONG_PTR len, LPWSTR dest, unsigned int flag, SpiProgressCallback* progressCallback,
                    LONG_PTR lData)
{
    bool toMemory = (flag & kSpiOutputMask) == kSpiOutputMemory;
    Log("GetFileW|" + InputName(buf, flag) + "|" + std::to_string(len) + "|" + (toMemory ? "memory" : Utf8(dest)) +
        "|" + std::to_string(flag));
    CallBack(progressCallback, lData);
    int result = WideResult("GetFile", 0);
    if (result != 0 || Value("wideTable") != "1")
        return result;
    std::vector<std::string> entries = Entries();
    if (!dest || len < 0 || static_cast<std::size_t>(len) >= entries.size())
        return kSpiBrokenData;
    std::string content = Value("content." + entries[len]);
    if (toMemory) {
        HLOCAL* target = reinterpret_cast<HLOCAL*>(dest);
        *target = Allocate(content.data(), content.size());
        return *target ? 0 : kSpiOutOfMemory;
    }
    std::vector<WCHAR> name(entries[len].size() + 1);
    MultiByteToWideChar(CP_UTF8, 0, entries[len].c_str(), -1, name.data(), static_cast<int>(name.size()));
    const std::wstring path = std::wstring(dest) + L"\\" + name.data();
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file)
        return kSpiReadError;
    std::fwrite(content.data(), 1, content.size(), file);
    std::fclose(file);
    return 0;
}

}  // extern "C"
