#pragma once
// Messages between the frame, its child game window (in another process),
// the tray icon and the cache cleaner. The values cross process boundaries:
// they never change.
namespace qm {

constexpr unsigned WM_SET_GAME_WINDOW = 0xBD1;  // child → frame: wParam = the child's game window
constexpr unsigned WM_RELOAD_GAME = 0xBD2;      // frame → child, posted: reload the game page
constexpr unsigned WM_FIT_GAME_WINDOW = 0xBD3;  // frame → child, sent: wParam 1 whole client, 0 below the title
constexpr unsigned WM_TRAY_NOTIFY = 0x401;      // tray icon → frame: lParam's low word = the mouse message
constexpr unsigned ID_CACHE_CLEARED = 10002;    // cache cleaner → frame, a command sent when done
constexpr unsigned TIMER_REFIT = 102;           // frame: refit to the work area after a restore

}  // namespace qm
