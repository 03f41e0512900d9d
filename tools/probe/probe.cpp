// probe.exe: a small Win32 console program that the Wine tests drive to look at and poke
// the Halvane programs from the inside of the window station: start a program and report
// its exit code, wait for windows by title, read window facts and texts, answer message
// boxes, post messages, make a parent window for the preview, and print a window into a
// bitmap file. Results go to stdout as UTF-8, one JSON object or plain value per command.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// ---- output ---------------------------------------------------------------------------

std::string Utf8(const std::wstring& w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), nullptr, 0, nullptr, nullptr);
    std::string s(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), &s[0], n, nullptr, nullptr);
    return s;
}

std::wstring Wide(const char* utf8) {
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring w(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1) MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &w[0], n);
    return w;
}

void Out(const std::string& s) {
    std::fwrite(s.data(), 1, s.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::string JsonString(const std::wstring& w) {
    std::string in = Utf8(w), out = "\"";
    for (unsigned char c : in) {
        if (c == '"' || c == '\\') { out += '\\'; out += (char)c; }
        else if (c < 0x20) { char buf[8]; std::snprintf(buf, sizeof buf, "\\u%04x", c); out += buf; }
        else out += (char)c;
    }
    return out + "\"";
}

std::string Num(long long v) { return std::to_string(v); }
std::string Hwnd(HWND h) { return Num((long long)(INT_PTR)h); }
HWND ParseHwnd(const char* s) { return (HWND)(INT_PTR)_strtoi64(s, nullptr, 0); }

std::wstring WindowText(HWND h) {
    wchar_t buf[4096] = {};
    // WM_GETTEXT reaches other processes' windows too (GetWindowText would not for controls).
    SendMessageTimeoutW(h, WM_GETTEXT, 4096, (LPARAM)buf, SMTO_ABORTIFHUNG, 2000, nullptr);
    return buf;
}

std::wstring ClassName(HWND h) {
    wchar_t buf[256] = {};
    GetClassNameW(h, buf, 256);
    return buf;
}

std::string RectJson(const RECT& r) {
    return "[" + Num(r.left) + "," + Num(r.top) + "," + Num(r.right) + "," + Num(r.bottom) + "]";
}

std::string WindowJson(HWND h) {
    RECT wr = {}, cr = {};
    GetWindowRect(h, &wr);
    GetClientRect(h, &cr);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
    LONG_PTR exStyle = GetWindowLongPtrW(h, GWL_EXSTYLE);
    return "{\"hwnd\":" + Hwnd(h) + ",\"title\":" + JsonString(WindowText(h)) +
           ",\"class\":" + JsonString(ClassName(h)) +
           ",\"style\":" + Num((long long)(unsigned long)style) +
           ",\"exstyle\":" + Num((long long)(unsigned long)exStyle) +
           ",\"parent\":" + Hwnd(GetAncestor(h, GA_PARENT)) +
           ",\"owner\":" + Hwnd(GetWindow(h, GW_OWNER)) +
           ",\"id\":" + Num((long long)GetWindowLongPtrW(h, GWLP_ID)) +
           ",\"rect\":" + RectJson(wr) + ",\"client\":" + RectJson(cr) +
           ",\"visible\":" + (IsWindowVisible(h) ? "true" : "false") +
           ",\"enabled\":" + (IsWindowEnabled(h) ? "true" : "false") +
           ",\"pid\":" + Num(pid) + "}";
}

// ---- window search ------------------------------------------------------------------

struct TopSearch {
    std::wstring title;
    std::wstring cls;  // empty: any class
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND h, LPARAM lp) {
    auto* s = reinterpret_cast<TopSearch*>(lp);
    if (!s->cls.empty() && ClassName(h) != s->cls) return TRUE;
    if (WindowText(h) == s->title) s->found.push_back(h);
    return TRUE;
}

HWND FindTop(const std::wstring& title, const std::wstring& cls) {
    TopSearch s{title, cls, {}};
    EnumWindows(CollectTop, (LPARAM)&s);
    return s.found.empty() ? nullptr : s.found.front();
}

HWND WaitTop(const std::wstring& title, const std::wstring& cls, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (HWND h = FindTop(title, cls)) return h;
        if (GetTickCount() - start >= timeoutMs) return nullptr;
        Sleep(50);
    }
}

BOOL CALLBACK CollectChild(HWND h, LPARAM lp) {
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
    return TRUE;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> v;
    EnumChildWindows(parent, CollectChild, (LPARAM)&v);
    return v;
}

// ---- commands -------------------------------------------------------------------------

// run EXE [ARGS...]: starts EXE (any extension), prints "pid N", waits, prints "exit N"
// and exits with the child's exit code.
int CmdRun(int argc, char** argv) {
    if (argc < 1) return 2;
    std::wstring exe = Wide(argv[0]);
    std::wstring cmd = L"\"" + exe + L"\"";
    for (int i = 1; i < argc; ++i) cmd += L" " + Wide(argv[i]);
    std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/") + 1);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &si, &pi)) {
        Out("error " + Num(GetLastError()));
        return 2;
    }
    Out("pid " + Num(pi.dwProcessId));
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    Out("exit " + Num(code));
    return (int)code;
}

// wait TITLE TIMEOUT_MS [CLASS]: prints the window's facts once it exists.
int CmdWait(int argc, char** argv) {
    if (argc < 2) return 2;
    HWND h = WaitTop(Wide(argv[0]), argc > 2 ? Wide(argv[2]) : L"", (DWORD)atoi(argv[1]));
    if (!h) { Out("null"); return 1; }
    Out(WindowJson(h));
    return 0;
}

// gone TITLE TIMEOUT_MS: exits 0 once no top-level window has TITLE.
int CmdGone(int argc, char** argv) {
    if (argc < 2) return 2;
    std::wstring title = Wide(argv[0]);
    DWORD start = GetTickCount(), timeout = (DWORD)atoi(argv[1]);
    while (FindTop(title, L"")) {
        if (GetTickCount() - start >= timeout) { Out("present"); return 1; }
        Sleep(50);
    }
    Out("gone");
    return 0;
}

// list: every visible or hidden top-level window with its facts.
int CmdList(int, char**) {
    std::vector<HWND> v;
    EnumWindows(CollectChild, (LPARAM)&v);
    std::string s = "[";
    for (size_t i = 0; i < v.size(); ++i) s += (i ? "," : "") + WindowJson(v[i]);
    Out(s + "]");
    return 0;
}

int CmdInfo(int argc, char** argv) {
    if (argc < 1) return 2;
    HWND h = ParseHwnd(argv[0]);
    if (!IsWindow(h)) { Out("null"); return 1; }
    Out(WindowJson(h));
    return 0;
}

int CmdChildren(int argc, char** argv) {
    if (argc < 1) return 2;
    HWND h = ParseHwnd(argv[0]);
    if (!IsWindow(h)) { Out("null"); return 1; }
    std::vector<HWND> v = Children(h);
    std::string s = "[";
    for (size_t i = 0; i < v.size(); ++i) s += (i ? "," : "") + WindowJson(v[i]);
    Out(s + "]");
    return 0;
}

// msgbox CAPTION TIMEOUT_MS [BUTTON_TEXT]: waits for a message box with CAPTION, prints its
// text and buttons, then presses BUTTON_TEXT (default: the first button).
int CmdMsgBox(int argc, char** argv) {
    if (argc < 2) return 2;
    HWND box = WaitTop(Wide(argv[0]), L"#32770", (DWORD)atoi(argv[1]));
    if (!box) { Out("null"); return 1; }
    std::wstring text;
    std::vector<HWND> buttons;
    for (HWND c : Children(box)) {
        std::wstring cls = ClassName(c);
        if (_wcsicmp(cls.c_str(), L"Button") == 0) buttons.push_back(c);
        else if (_wcsicmp(cls.c_str(), L"Static") == 0 && !WindowText(c).empty()) text = WindowText(c);
    }
    std::string s = "{\"hwnd\":" + Hwnd(box) + ",\"text\":" + JsonString(text) + ",\"buttons\":[";
    for (size_t i = 0; i < buttons.size(); ++i) s += (i ? "," : "") + JsonString(WindowText(buttons[i]));
    Out(s + "]}");
    HWND press = buttons.empty() ? nullptr : buttons.front();
    if (argc > 2) {
        std::wstring want = Wide(argv[2]);
        for (HWND b : buttons) if (WindowText(b) == want) press = b;
    }
    if (press) PostMessageW(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(press), BN_CLICKED), (LPARAM)press);
    else PostMessageW(box, WM_COMMAND, IDOK, 0);
    return 0;
}

// post HWND MSG WPARAM LPARAM / send HWND MSG WPARAM LPARAM (numbers in C notation).
int CmdPost(int argc, char** argv, bool send) {
    if (argc < 4) return 2;
    HWND h = ParseHwnd(argv[0]);
    UINT msg = (UINT)strtoul(argv[1], nullptr, 0);
    WPARAM wp = (WPARAM)_strtoui64(argv[2], nullptr, 0);
    LPARAM lp = (LPARAM)_strtoi64(argv[3], nullptr, 0);
    if (send) {
        DWORD_PTR result = 0;
        LRESULT ok = SendMessageTimeoutW(h, msg, wp, lp, SMTO_ABORTIFHUNG, 5000, &result);
        Out(ok ? Num((long long)result) : "timeout");
        return ok ? 0 : 1;
    }
    BOOL ok = PostMessageW(h, msg, wp, lp);
    Out(ok ? "posted" : "failed");
    return ok ? 0 : 1;
}

int CmdClose(int argc, char** argv) {
    if (argc < 1) return 2;
    const char* args[] = {argv[0], "0x10", "0", "0"};
    return CmdPost(4, const_cast<char**>(args), false);
}

// cursor: the pointer position as this process sees it.
int CmdCursor(int, char**) {
    POINT p = {};
    BOOL ok = GetCursorPos(&p);
    Out(ok ? "[" + Num(p.x) + "," + Num(p.y) + "]" : "null");
    return ok ? 0 : 1;
}

int CmdKill(int argc, char** argv) {
    if (argc < 1) return 2;
    HANDLE p = OpenProcess(PROCESS_TERMINATE, FALSE, (DWORD)strtoul(argv[0], nullptr, 0));
    if (!p) { Out("none"); return 1; }
    BOOL ok = TerminateProcess(p, 255);
    CloseHandle(p);
    Out(ok ? "killed" : "failed");
    return ok ? 0 : 1;
}

int CmdMetrics(int, char**) {
    HDC dc = GetDC(nullptr);
    std::string s = "{\"cxscreen\":" + Num(GetSystemMetrics(SM_CXSCREEN)) +
                    ",\"cyscreen\":" + Num(GetSystemMetrics(SM_CYSCREEN)) +
                    ",\"cxmaximized\":" + Num(GetSystemMetrics(SM_CXMAXIMIZED)) +
                    ",\"cymaximized\":" + Num(GetSystemMetrics(SM_CYMAXIMIZED)) +
                    ",\"cycaption\":" + Num(GetSystemMetrics(SM_CYCAPTION)) +
                    ",\"dpix\":" + Num(GetDeviceCaps(dc, LOGPIXELSX)) +
                    ",\"dpiy\":" + Num(GetDeviceCaps(dc, LOGPIXELSY)) +
                    ",\"acp\":" + Num(GetACP()) + "}";
    ReleaseDC(nullptr, dc);
    Out(s);
    return 0;
}

// print HWND OUT.BMP [client]: asks the window to draw itself into a memory bitmap
// (PrintWindow, which sends WM_PRINT; with "client" WM_PRINTCLIENT is sent directly) and
// saves it as a 24-bit bottom-up bitmap file.
int CmdPrint(int argc, char** argv) {
    if (argc < 2) return 2;
    HWND h = ParseHwnd(argv[0]);
    if (!IsWindow(h)) { Out("null"); return 1; }
    bool clientOnly = argc > 2 && std::strcmp(argv[2], "client") == 0;
    RECT r = {};
    if (clientOnly) GetClientRect(h, &r); else { GetWindowRect(h, &r); OffsetRect(&r, -r.left, -r.top); }
    int w = r.right, ht = r.bottom;
    if (w <= 0 || ht <= 0) { Out("empty"); return 1; }
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = ht;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    RECT all = {0, 0, w, ht};
    FillRect(mem, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    BOOL ok;
    if (clientOnly) {
        DWORD_PTR res = 0;
        ok = SendMessageTimeoutW(h, WM_PRINTCLIENT, (WPARAM)mem, PRF_CLIENT | PRF_ERASEBKGND,
                                 SMTO_ABORTIFHUNG, 5000, &res) != 0;
    } else {
        ok = PrintWindow(h, mem, 0);
    }
    GdiFlush();
    int stride = (w * 3 + 3) & ~3;
    BITMAPFILEHEADER fh = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
    fh.bfSize = fh.bfOffBits + stride * ht;
    bi.bmiHeader.biSizeImage = stride * ht;
    FILE* f = _wfopen(Wide(argv[1]).c_str(), L"wb");
    if (f) {
        std::fwrite(&fh, sizeof fh, 1, f);
        std::fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f);
        std::fwrite(bits, 1, (size_t)stride * ht, f);
        std::fclose(f);
    }
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    Out(std::string(ok ? "printed " : "print-failed ") + Num(w) + "x" + Num(ht));
    return f && ok ? 0 : 1;
}

// parent W H [TITLE]: makes a top-level window with a client area of W x H pixels, prints
// its handle and then serves lines from stdin: "destroy", "close", "info", "children",
// "quit" (stdin closing also destroys it). Ends when the window is gone.
LRESULT CALLBACK ParentProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_DESTROY) { PostQuitMessage(0); return 0; }
    if (m == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(h, &r);
        FillRect((HDC)w, &r, (HBRUSH)GetStockObject(GRAY_BRUSH));
        return 1;
    }
    return DefWindowProcW(h, m, w, l);
}

HWND g_parent = nullptr;
DWORD g_parentThread = 0;
const UINT kStdinLine = WM_APP + 1;

DWORD WINAPI StdinReader(LPVOID) {
    char line[256];
    DWORD tid = g_parentThread;
    while (std::fgets(line, sizeof line, stdin)) {
        std::string s(line);
        while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
        PostThreadMessageW(tid, kStdinLine, 0, (LPARAM) new std::string(s));
    }
    PostThreadMessageW(tid, kStdinLine, 0, (LPARAM) new std::string("destroy"));
    return 0;
}

int CmdParent(int argc, char** argv) {
    if (argc < 2) return 2;
    int w = atoi(argv[0]), ht = atoi(argv[1]);
    std::wstring title = argc > 2 ? Wide(argv[2]) : L"Probe Preview Parent";
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"HalvaneProbeParent";
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    RegisterClassW(&wc);
    DWORD style = WS_POPUP | WS_VISIBLE;
    RECT r = {0, 0, w, ht};
    AdjustWindowRect(&r, style, FALSE);
    g_parent = CreateWindowExW(0, wc.lpszClassName, title.c_str(), style, 100, 100,
                               r.right - r.left, r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
    if (!g_parent) { Out("null"); return 1; }
    g_parentThread = GetCurrentThreadId();
    Out(Hwnd(g_parent));
    CloseHandle(CreateThread(nullptr, 0, StdinReader, nullptr, 0, nullptr));
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd == nullptr && msg.message == kStdinLine) {
            std::string* cmd = reinterpret_cast<std::string*>(msg.lParam);
            if (*cmd == "destroy") DestroyWindow(g_parent);
            else if (*cmd == "close") PostMessageW(g_parent, WM_CLOSE, 0, 0);
            else if (*cmd == "info") Out(IsWindow(g_parent) ? WindowJson(g_parent) : "null");
            else if (*cmd == "children") {
                std::vector<HWND> v = Children(g_parent);
                std::string s = "[";
                for (size_t i = 0; i < v.size(); ++i) s += (i ? "," : "") + WindowJson(v[i]);
                Out(s + "]");
            } else if (*cmd == "quit") PostQuitMessage(0);
            delete cmd;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    Out("ended");
    return 0;
}

// ---- added for the host tests (hostapp) ------------------------------------------------
// shortpath PATH: the 8.3 form of an existing path (GetShortPathNameW), to start a program
// by its short name.
int CmdShortPath(int argc, char** argv) {
    if (argc < 1) return 2;
    std::wstring path = Wide(argv[0]);
    wchar_t buf[32768] = {};
    DWORD n = GetShortPathNameW(path.c_str(), buf, 32768);
    if (n == 0 || n >= 32768) { Out("null"); return 1; }
    Out(Utf8(buf));
    return 0;
}
// ---- end of the host tests' block -------------------------------------------------------

struct Command {
    const char* name;
    int (*run)(int, char**);
    const char* usage;
};

int CmdPostWrap(int argc, char** argv) { return CmdPost(argc, argv, false); }
int CmdSendWrap(int argc, char** argv) { return CmdPost(argc, argv, true); }

const Command kCommands[] = {
    {"run", CmdRun, "run EXE [ARGS...]"},
    {"wait", CmdWait, "wait TITLE TIMEOUT_MS [CLASS]"},
    {"gone", CmdGone, "gone TITLE TIMEOUT_MS"},
    {"list", CmdList, "list"},
    {"info", CmdInfo, "info HWND"},
    {"children", CmdChildren, "children HWND"},
    {"msgbox", CmdMsgBox, "msgbox CAPTION TIMEOUT_MS [BUTTON_TEXT]"},
    {"post", CmdPostWrap, "post HWND MSG WPARAM LPARAM"},
    {"send", CmdSendWrap, "send HWND MSG WPARAM LPARAM"},
    {"close", CmdClose, "close HWND"},
    {"cursor", CmdCursor, "cursor"},
    {"kill", CmdKill, "kill PID"},
    {"metrics", CmdMetrics, "metrics"},
    {"print", CmdPrint, "print HWND OUT.BMP [client]"},
    {"parent", CmdParent, "parent W H [TITLE]"},
    {"shortpath", CmdShortPath, "shortpath PATH"},
};

}  // namespace

int main(int argc, char** argv) {
    // Arguments arrive in the ANSI code page; the tests pass UTF-8, so take the wide
    // command line and hand UTF-8 on.
    int wargc = 0;
    LPWSTR* wargv = CommandLineToArgvW(GetCommandLineW(), &wargc);
    std::vector<std::string> args;
    for (int i = 0; i < wargc; ++i) args.push_back(Utf8(wargv[i]));
    LocalFree(wargv);
    std::vector<char*> ptrs;
    for (auto& a : args) ptrs.push_back(&a[0]);
    (void)argc;
    (void)argv;
    if (ptrs.size() >= 2) {
        for (const Command& c : kCommands)
            if (std::strcmp(ptrs[1], c.name) == 0) return c.run((int)ptrs.size() - 2, ptrs.data() + 2);
    }
    for (const Command& c : kCommands) std::fprintf(stderr, "probe %s\n", c.usage);
    return 2;
}
