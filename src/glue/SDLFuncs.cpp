#include "glue/SDLFuncs.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "shell/Constants.hpp"

namespace zil {

namespace {

// The single event buffer that PollEvent and WaitEvent fill.
SDL_Event mltGlobalEvent{};

// One line: the prefix, SDL's error text, a newline. The file is created
// anew; when it cannot be opened the log is skipped.
void writeLog(const char* fileName, const char* prefix) {
    const char* error = SDL_GetError();
    if (std::FILE* f = std::fopen(fileName, "w")) {
        std::fprintf(f, "%s%s\n", prefix, error);
        std::fclose(f);
    }
}

// Low 16 bits of each value; the narrowing conversions are modular.
SDL_Rect packRect(int x, int y, int w, int h) {
    SDL_Rect r;
    r.x = static_cast<Sint16>(x);
    r.y = static_cast<Sint16>(y);
    r.w = static_cast<Uint16>(w);
    r.h = static_cast<Uint16>(h);
    return r;
}

// Reads the buffer as one kind of event. Copying the bytes keeps this
// defined whatever event was stored last.
template <class E>
E eventAs() {
    E e;
    std::memcpy(&e, &mltGlobalEvent, sizeof e);
    return e;
}

}  // namespace

int mltSDL_Init(Uint32 flags) {
    int result = SDL_Init(flags);
    if (result < 0) writeLog("SDL_Init.log", Constants::sdlInitFailure);
    return result;
}

void mltSDL_Quit() { SDL_Quit(); }

const char* mltSDL_GetError() { return SDL_GetError(); }

int mltSDL_EnableUNICODE(int enable) { return SDL_EnableUNICODE(enable != 0 ? 1 : 0); }

int mltSDL_EnableKeyRepeat(int delay, int interval) { return SDL_EnableKeyRepeat(delay, interval); }

SDL_Surface* mltSDL_SetVideoMode(int width, int height, int bpp, Uint32 flags) {
    return SDL_SetVideoMode(width, height, bpp, flags);
}

void mltSDL_UpdateRect(SDL_Surface* screen, int x, int y, int w, int h) {
    SDL_UpdateRect(screen, x, y, static_cast<Uint32>(w), static_cast<Uint32>(h));
}

void mltSDL_WM_SetCaption(const char* title, const char* icon) { SDL_WM_SetCaption(title, icon); }

SDL_Surface* mltSDL_CreateRGBSurface(Uint32 flags, int width, int height, int depth, Uint32 rmask,
                                     Uint32 gmask, Uint32 bmask, Uint32 amask) {
    return SDL_CreateRGBSurface(flags, width, height, depth, rmask, gmask, bmask, amask);
}

void mltSDL_FreeSurface(SDL_Surface* surface) { SDL_FreeSurface(surface); }

SDL_Surface* mltSDL_LoadBMP(const char* path) {
    SDL_Surface* surface = SDL_LoadBMP(path);
    if (surface == nullptr) writeLog("SDL_LoadBMP.log", "Could not load BMP file: ");
    return surface;
}

int mltSDL_MUSTLOCK(const SDL_Surface* surface) { return SDL_MUSTLOCK(surface) ? 1 : 0; }

int mltSDL_LockSurface(SDL_Surface* surface) { return SDL_LockSurface(surface); }

void mltSDL_UnlockSurface(SDL_Surface* surface) { SDL_UnlockSurface(surface); }

int mltSDL_SetClipRect(SDL_Surface* surface, int x, int y, int w, int h) {
    SDL_Rect r = packRect(x, y, w, h);
    return SDL_SetClipRect(surface, &r);
}

Uint32 mltSDL_MapRGB(const SDL_PixelFormat* format, int red, int green, int blue) {
    return SDL_MapRGB(format, static_cast<Uint8>(red), static_cast<Uint8>(green), static_cast<Uint8>(blue));
}

int mltSDL_FillRect(SDL_Surface* surface, int x, int y, int w, int h, Uint32 colour) {
    SDL_Rect r = packRect(x, y, w, h);
    return SDL_FillRect(surface, &r, colour);
}

int mltSDL_BlitSurface(SDL_Surface* src, int sx, int sy, int sw, int sh, SDL_Surface* dst, int dx, int dy,
                       int dw, int dh) {
    SDL_Rect from = packRect(sx, sy, sw, sh);
    SDL_Rect to = packRect(dx, dy, dw, dh);
    return SDL_UpperBlit(src, &from, dst, &to);
}

SDL_PixelFormat* mltSDLSurface_GetFormat(const SDL_Surface* surface) { return surface->format; }
void* mltSDLSurface_GetPixels(const SDL_Surface* surface) { return surface->pixels; }
int mltSDLSurface_GetPitch(const SDL_Surface* surface) { return surface->pitch; }
int mltSDLSurface_GetWidth(const SDL_Surface* surface) { return surface->w; }
int mltSDLSurface_GetHeight(const SDL_Surface* surface) { return surface->h; }

SDL_Surface* mltVuq_MakeSubSurface(SDL_Surface* parent, int x, int y, int w, int h) {
    if (parent == nullptr) return nullptr;
    const SDL_PixelFormat* fmt = parent->format;

    // Clamp to the parent in 64 bits so that x + w cannot overflow.
    long long x0 = std::max(x, 0);
    long long y0 = std::max(y, 0);
    long long x1 = std::min<long long>(static_cast<long long>(x) + std::max(w, 0), parent->w);
    long long y1 = std::min<long long>(static_cast<long long>(y) + std::max(h, 0), parent->h);
    int subW = 0;
    int subH = 0;
    void* pixels = parent->pixels;
    if (x1 > x0 && y1 > y0) {
        subW = static_cast<int>(x1 - x0);
        subH = static_cast<int>(y1 - y0);
        if (pixels != nullptr)
            pixels = static_cast<Uint8*>(pixels) + y0 * parent->pitch + x0 * fmt->BytesPerPixel;
    }

    // A from-pixels surface: SDL resets its clip to the whole surface and
    // never frees the pixels with it.
    SDL_Surface* sub = SDL_CreateRGBSurfaceFrom(pixels, subW, subH, fmt->BitsPerPixel, parent->pitch, fmt->Rmask,
                                                fmt->Gmask, fmt->Bmask, fmt->Amask);
    if (sub == nullptr) return nullptr;
    if (fmt->palette != nullptr && sub->format->palette != nullptr)
        SDL_SetColors(sub, fmt->palette->colors, 0, fmt->palette->ncolors);
    SDL_SetColorKey(sub, parent->flags & SDL_SRCCOLORKEY, fmt->colorkey);
    SDL_SetAlpha(sub, parent->flags & SDL_SRCALPHA, fmt->alpha);
    return sub;
}

void mltVuq_FreeSubSurface(SDL_Surface* sub) {
    if (sub != nullptr) SDL_FreeSurface(sub);
}

int mltSDL_PollEvent() { return SDL_PollEvent(&mltGlobalEvent) != 0 ? 1 : 0; }

int mltSDL_WaitEvent() { return SDL_WaitEvent(&mltGlobalEvent) != 0 ? 1 : 0; }

int mltSDL_GetModState() { return static_cast<int>(SDL_GetModState()); }

int mltSDL_GetEventType() { return mltGlobalEvent.type; }

int mltSDL_GetKeyboard_Which() { return eventAs<SDL_KeyboardEvent>().which; }
int mltSDL_GetKeyboard_State() { return eventAs<SDL_KeyboardEvent>().state; }
int mltSDL_GetKeyboard_KeySymScancode() { return eventAs<SDL_KeyboardEvent>().keysym.scancode; }
int mltSDL_GetKeyboard_KeySymKey() { return static_cast<int>(eventAs<SDL_KeyboardEvent>().keysym.sym); }
int mltSDL_GetKeyboard_KeySymMod() { return static_cast<int>(eventAs<SDL_KeyboardEvent>().keysym.mod); }
int mltSDL_GetKeyboard_KeySymUnicode() { return eventAs<SDL_KeyboardEvent>().keysym.unicode; }

int mltSDL_GetMouseMotion_Which() { return eventAs<SDL_MouseMotionEvent>().which; }
int mltSDL_GetMouseMotion_State() { return eventAs<SDL_MouseMotionEvent>().state; }
int mltSDL_GetMouseMotion_X() { return eventAs<SDL_MouseMotionEvent>().x; }
int mltSDL_GetMouseMotion_Y() { return eventAs<SDL_MouseMotionEvent>().y; }
int mltSDL_GetMouseMotion_XRel() { return eventAs<SDL_MouseMotionEvent>().xrel; }
int mltSDL_GetMouseMotion_YRel() { return eventAs<SDL_MouseMotionEvent>().yrel; }

int mltSDL_GetMouseButton_Which() { return eventAs<SDL_MouseButtonEvent>().which; }
int mltSDL_GetMouseButton_Button() { return eventAs<SDL_MouseButtonEvent>().button; }
int mltSDL_GetMouseButton_State() { return eventAs<SDL_MouseButtonEvent>().state; }
int mltSDL_GetMouseButton_X() { return eventAs<SDL_MouseButtonEvent>().x; }
int mltSDL_GetMouseButton_Y() { return eventAs<SDL_MouseButtonEvent>().y; }

}  // namespace zil
