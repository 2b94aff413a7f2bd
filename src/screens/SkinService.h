#pragma once
// The skin, help-text and speech service: every screen takes its pictures, its hint texts and its spoken
// comments from the lists of the branding bundle read at start-up, by position. The application context hands
// the bundle over with SetSkinBranding once it is read and takes it back before freeing it.

#include <QString>

#include <cstdint>
#include <string>

class JpegImage;
class QObject;
class TImage;
class TLabel;
class evBranding;
class evMusic;

// soundAvailable := true, speech on, no current clip, no shared skin image.
void InitSkinService();
// The bundle the service reads; nullptr when there is none (then every list is empty). Stops and forgets the
// current clip, which belongs to the previous bundle.
void SetSkinBranding(evBranding* branding);
evBranding* SkinBranding();

// Frees the shared skin image and makes a new one from the picture at the index. The result stays valid until
// the next call. EListError for an index outside the list, EImageError when the entry is no picture or its
// bytes are no JPEG.
const JpegImage& SkinPicture(int32_t index);
// Frees the shared skin image (end of the program).
void ReleaseSkinImage();
// Shows the skin picture at the index in the image; a picture that cannot be had leaves the image empty and is
// logged. The shared skin image is released afterwards.
void ShowSkinPicture(TImage* image, int32_t index);

// The help text at the index, for display; empty when the list has no help text there.
QString HelpText(int32_t index);
// Sets the caption to HelpText(index) only when the index differs from the remembered one, and remembers it.
void ShowHelpHint(TLabel* label, int32_t& remembered, int32_t index);
// Shows the image while (x, y), in the coordinates of the image's parent, lies inside it, and hides it when not;
// leaves it as it is when the mouse report comes from the image itself. Returns whether it is visible now. The
// image is lit (TImage::SetLit): the screen puts it away when the pointer leaves.
bool HoverShow(int x, int y, TImage* image, const QObject* sender);

// Stops the current clip and plays the one at the index; nothing without sound, with speech off or without
// clips. An index outside the list plays nothing.
void PlaySpeech(int32_t index);
void StopSpeech();
// Only with sound: stops the current clip when speech is on, then switches speech.
void ToggleSpeech();
bool SpeechEnabled();
const evMusic* CurrentSpeechClip();

// Every "&" written as "&&", so that a label shows the text as it is.
QString DoubleAmpersands(const QString& text);
// True when the folder exists or could be created with all its missing parents.
bool EnsureFolder(const std::string& path);
