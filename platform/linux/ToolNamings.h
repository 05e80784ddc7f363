#pragma once

#include "platform/ScreenshotNaming.h"

class IniText;

// How the tools that keep their settings in a file of their own name the
// files they save, read from that file as the tool reads it.

// Flameshot: [General] filenamePattern, strftime(3), "%F_%H-%M" by default;
// it writes ':' as '-' and '/' as a fraction slash, and adds "_1" and on
// where the name is taken.
ScreenshotNaming flameshotNaming(const IniText& ini);

// Spectacle: [Save] saveFilenameFormat with %-fields up to version 23,
// [ImageSave] imageFilenameTemplate with <fields> from 24; "-1" and on.
ScreenshotNaming spectacleNaming(const IniText& ini, bool imageSave);

// The Xfce screenshooter: its title ("Screenshot" in the user's language),
// then "_" and the moment unless `timestamp` is off; "-1" and on.
ScreenshotNaming xfceScreenshooterNaming(const IniText& ini);
