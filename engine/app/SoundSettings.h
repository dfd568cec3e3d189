#pragma once
// The player's sound setting: on or off, and two volumes from 0 to 100 % in steps of 10 %, one
// over the music and one over the effects. Kept in the store under keys the game never reads,
// so it lasts from one run to the next; each change shows a short note in a corner.
namespace cocos2d {

class SoundSettings {
  public:
    static constexpr const char* kMusicKey = "musicVolumePercent";
    static constexpr const char* kEffectsKey = "effectsVolumePercent";
    // Saves from before the two volumes kept one, over both: it stands for either one not saved.
    static constexpr const char* kVolumeKey = "soundVolumePercent";
    static constexpr const char* kMutedKey = "soundMuted";
    static constexpr int kStep = 10;
    static constexpr float kNoteSeconds = 1.5f;
    // The overlay's key for the note.
    static constexpr const char* kNote = "sound";

    // Hands the saved setting to the audio engine and gives the input map its sound actions.
    // Before the first scene, so that its music already starts at the player's volume.
    static void install();

    static void toggleMute();
    // The volume keys move both volumes a step; any volume change turns the sound back on.
    static void volumeDown();
    static void volumeUp();
    static void setMusicPercent(int percent);
    static void setEffectsPercent(int percent);

    static int musicPercent();
    static int effectsPercent();
    // The louder of the two: what the volume keys' note speaks of.
    static int volumePercent();
    static bool isMuted();

  private:
    static void change(int music, int effects, bool muted);
};

} // namespace cocos2d
