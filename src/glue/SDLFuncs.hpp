#pragma once
// The only code that talks to SDL 1.2 directly. Thin wrappers that take and
// return plain integers and handles, so no other module builds an SDL
// structure itself; rectangles are passed as x, y, width, height.
//
// Nothing here raises: SDL's results come back unchanged. When SDL_Init or
// SDL_LoadBMP fails, a one-line log file named after the call is written in
// the working directory ("SDL_Init.log", "SDL_LoadBMP.log"); a log that
// cannot be written is skipped.
//
// Rectangle arguments reach SDL as their low 16 bits: x and y as signed,
// width and height as unsigned 16-bit values.
#include <SDL.h>

namespace zil {

// --- Start and stop ---
int mltSDL_Init(Uint32 flags);  // negative on failure, after writing "SDL_Init.log"
void mltSDL_Quit();
const char* mltSDL_GetError();  // the text of SDL's last failure
int mltSDL_EnableUNICODE(int enable);
int mltSDL_EnableKeyRepeat(int delay, int interval);

// --- Screen ---
SDL_Surface* mltSDL_SetVideoMode(int width, int height, int bpp, Uint32 flags);  // null on failure
void mltSDL_UpdateRect(SDL_Surface* screen, int x, int y, int w, int h);        // (0, 0, 0, 0): whole screen
void mltSDL_WM_SetCaption(const char* title, const char* icon);

// --- Surfaces ---
SDL_Surface* mltSDL_CreateRGBSurface(Uint32 flags, int width, int height, int depth, Uint32 rmask,
                                     Uint32 gmask, Uint32 bmask, Uint32 amask);
void mltSDL_FreeSurface(SDL_Surface* surface);
SDL_Surface* mltSDL_LoadBMP(const char* path);  // null on failure, after writing "SDL_LoadBMP.log"
int mltSDL_MUSTLOCK(const SDL_Surface* surface);
int mltSDL_LockSurface(SDL_Surface* surface);
void mltSDL_UnlockSurface(SDL_Surface* surface);
int mltSDL_SetClipRect(SDL_Surface* surface, int x, int y, int w, int h);
Uint32 mltSDL_MapRGB(const SDL_PixelFormat* format, int red, int green, int blue);
int mltSDL_FillRect(SDL_Surface* surface, int x, int y, int w, int h, Uint32 colour);
int mltSDL_BlitSurface(SDL_Surface* src, int sx, int sy, int sw, int sh, SDL_Surface* dst, int dx, int dy,
                       int dw, int dh);

SDL_PixelFormat* mltSDLSurface_GetFormat(const SDL_Surface* surface);
void* mltSDLSurface_GetPixels(const SDL_Surface* surface);
int mltSDLSurface_GetPitch(const SDL_Surface* surface);
int mltSDLSurface_GetWidth(const SDL_Surface* surface);
int mltSDLSurface_GetHeight(const SDL_Surface* surface);

// A surface over the rectangle (x, y, w, h) of `parent` that shares the
// parent's pixels, pitch and pixel format layout; its clip rectangle is the
// whole sub-surface. The rectangle is first clamped to the parent, so the
// sub-surface's origin is at (max(x, 0), max(y, 0)) of the parent and no
// drawing through it reaches outside the parent's pixels; a rectangle wholly
// outside gives a 0 x 0 sub-surface. Null when `parent` is null or the
// header cannot be allocated. The parent must outlive it.
SDL_Surface* mltVuq_MakeSubSurface(SDL_Surface* parent, int x, int y, int w, int h);
// Frees the sub-surface's own header only, never the parent's pixels; null is ignored.
void mltVuq_FreeSubSurface(SDL_Surface* sub);

// --- Events ---
// PollEvent and WaitEvent store the event they take into the single event
// buffer `mltGlobalEvent`; the getters read the last stored event. Which
// getters mean something depends on the event type; none checks it.
int mltSDL_PollEvent();  // 1 when an event was taken, else 0
int mltSDL_WaitEvent();  // 1 when an event was taken, 0 on error
int mltSDL_GetModState();
int mltSDL_GetEventType();

int mltSDL_GetKeyboard_Which();
int mltSDL_GetKeyboard_State();
int mltSDL_GetKeyboard_KeySymScancode();
int mltSDL_GetKeyboard_KeySymKey();
int mltSDL_GetKeyboard_KeySymMod();
int mltSDL_GetKeyboard_KeySymUnicode();

int mltSDL_GetMouseMotion_Which();
int mltSDL_GetMouseMotion_State();
int mltSDL_GetMouseMotion_X();
int mltSDL_GetMouseMotion_Y();
int mltSDL_GetMouseMotion_XRel();
int mltSDL_GetMouseMotion_YRel();

int mltSDL_GetMouseButton_Which();
int mltSDL_GetMouseButton_Button();
int mltSDL_GetMouseButton_State();
int mltSDL_GetMouseButton_X();
int mltSDL_GetMouseButton_Y();

}  // namespace zil
