#pragma once

#include <windows.h>
#include <oaidl.h>

// Dual interface of the Flash Player ActiveX control (an outside component),
// declared from its published type library up to FlashVersion, the only
// method called: the members before it only keep it at its table slot.
struct IShockwaveFlash : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE get_ReadyState(long* state) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_TotalFrames(long* frames) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Playing(VARIANT_BOOL* playing) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Playing(VARIANT_BOOL playing) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Quality(int* quality) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Quality(int quality) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ScaleMode(int* scale) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_ScaleMode(int scale) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_AlignMode(int* align) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_AlignMode(int align) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_BackgroundColor(long* color) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_BackgroundColor(long color) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Loop(VARIANT_BOOL* loop) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Loop(VARIANT_BOOL loop) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Movie(BSTR* path) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Movie(BSTR path) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_FrameNum(long* frame) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_FrameNum(long frame) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetZoomRect(long left, long top, long right, long bottom) = 0;
  virtual HRESULT STDMETHODCALLTYPE Zoom(int factor) = 0;
  virtual HRESULT STDMETHODCALLTYPE Pan(long x, long y, int mode) = 0;
  virtual HRESULT STDMETHODCALLTYPE Play() = 0;
  virtual HRESULT STDMETHODCALLTYPE Stop() = 0;
  virtual HRESULT STDMETHODCALLTYPE Back() = 0;
  virtual HRESULT STDMETHODCALLTYPE Forward() = 0;
  virtual HRESULT STDMETHODCALLTYPE Rewind() = 0;
  virtual HRESULT STDMETHODCALLTYPE StopPlay() = 0;
  virtual HRESULT STDMETHODCALLTYPE GotoFrame(long frame) = 0;
  virtual HRESULT STDMETHODCALLTYPE CurrentFrame(long* frame) = 0;
  virtual HRESULT STDMETHODCALLTYPE IsPlaying(VARIANT_BOOL* playing) = 0;
  virtual HRESULT STDMETHODCALLTYPE PercentLoaded(long* percent) = 0;
  virtual HRESULT STDMETHODCALLTYPE FrameLoaded(long frame, VARIANT_BOOL* loaded) = 0;
  // Major version in the upper 16 bits.
  virtual HRESULT STDMETHODCALLTYPE FlashVersion(long* version) = 0;
};

// {D27CDB6E-AE6D-11CF-96B8-444553540000}, the Shockwave Flash object.
const CLSID CLSID_ShockwaveFlash = {
    0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
// {D27CDB6C-AE6D-11CF-96B8-444553540000}
const IID IID_IShockwaveFlash = {
    0xD27CDB6C, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
