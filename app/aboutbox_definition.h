#pragma once
class TAboutBox;
// The about box's definition: its frame, size and controls at their places.
// The picture is loaded by the box itself.
void defineAboutBox(TAboutBox& box);
