#pragma once
// The player's sound setting: on or off, and a volume from 0 to 100 % in steps of 10 %, over
// everything the game plays. Kept in the store under keys the game never reads, so it lasts
// from one run to the next; each change shows a short note in a corner.
namespace cocos2d {

class SoundSettings {
  public:
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
    // Either one also turns the sound back on.
    static void volumeDown();
    static void volumeUp();

    static int volumePercent();
    static bool isMuted();

  private:
    static void change(int percent, bool muted);
};

} // namespace cocos2d
