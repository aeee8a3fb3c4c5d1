// gorvendal-assets GAME_DIR: writes the game's seven pictures into GAME_DIR/bitmaps and its four
// sounds into GAME_DIR/waves. Everything is drawn and synthesised here from fixed seeds, so the
// same files come out at every run. Exits with status 1 and a message on standard error when
// the font is missing or a file cannot be written.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "artwork.h"
#include "bmp_writer.h"
#include "lettering.h"
#include "sound_synth.h"
#include "wav_writer.h"

namespace {

// Writes the bytes beside the target, then renames them into place, so that a reader never
// sees half a file.
bool writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::filesystem::path partial = path;
    partial += ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        if (!out) {
            std::fprintf(stderr, "gorvendal-assets: cannot create %s\n", partial.c_str());
            return false;
        }
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::fprintf(stderr, "gorvendal-assets: cannot write %s\n", partial.c_str());
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(partial, path, error);
    if (error) {
        std::fprintf(stderr, "gorvendal-assets: cannot write %s: %s\n", path.c_str(),
                     error.message().c_str());
        std::filesystem::remove(partial, error);
        return false;
    }
    return true;
}

bool writePicture(const std::filesystem::path& folder, const char* name, const art::Image& image,
                  int width, int height) {
    if (image.width != width || image.height != height) {
        std::fprintf(stderr, "gorvendal-assets: %s came out %d x %d instead of %d x %d\n", name,
                     image.width, image.height, width, height);
        return false;
    }
    return writeFile(folder / name, art::encodeBmp(image));
}

bool makeFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "gorvendal-assets: cannot create the folder %s: %s\n", folder.c_str(),
                     error.message().c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gorvendal-assets GAME_DIR\n");
        return 1;
    }
    const std::filesystem::path game(argv[1]);
    const std::filesystem::path bitmaps = game / "bitmaps";
    const std::filesystem::path waves = game / "waves";

    art::Fonts fonts;
    if (!fonts.open(GORVENDAL_FONT)) {
        std::fprintf(stderr, "gorvendal-assets: %s\n", fonts.error().c_str());
        return 1;
    }
    if (!makeFolder(bitmaps) || !makeFolder(waves)) {
        return 1;
    }

    const bool pictures =
        writePicture(bitmaps, "cur.bmp", art::makeCursorSheet(), 20, 20) &&
        writePicture(bitmaps, "grille.bmp", art::makeGridSheet(), 40, 20) &&
        writePicture(bitmaps, "pion.bmp", art::makePieceSheet(), 76, 38) &&
        writePicture(bitmaps, "win.bmp", art::makeScreenSheet(fonts), 3200, 600) &&
        writePicture(bitmaps, "menu.bmp", art::makeMenuSheet(fonts), 2100, 75) &&
        writePicture(bitmaps, "ok.bmp", art::makeOkButton(fonts), 80, 40) &&
        writePicture(bitmaps, "abcd.bmp", art::makeLetterStrip(fonts), 100, 20);
    if (!pictures) {
        return 1;
    }

    const bool sounds = writeFile(waves / "clic.wav", sound::encodeWav(sound::makeClick())) &&
                        writeFile(waves / "depl.wav", sound::encodeWav(sound::makeMove())) &&
                        writeFile(waves / "att.wav", sound::encodeWav(sound::makeAttack())) &&
                        writeFile(waves / "win.wav", sound::encodeWav(sound::makeVictory()));
    return sounds ? 0 : 1;
}
