"""The sound volumes and the master volume's steps, read from the game's own C++ sources, so the
generator, the asset checks and the game can never disagree about them."""

import os
import re

SRC = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "src", "app")


def _read(name):
    with open(os.path.join(SRC, name)) as source:
        return source.read()


def sound_volumes():
    """{file name: volume, 0 to 100} of every effect in the sound catalogue."""
    found = re.findall(r'\{\s*"assets/([\w.]+\.mp3)"\s*,\s*([0-9.]+)f?\s*\}', _read("AssetCatalogue.cpp"))
    if not found:
        raise ValueError("no sound volumes found in AssetCatalogue.cpp")
    return {name: float(volume) for name, volume in found}


def constants():
    """The catalogue header's numeric constants by name: MusicVolume, MaxMasterGain, MasterLevels,
    DefaultMasterLevel, ..."""
    found = re.findall(r'constexpr\s+(?:float|int|unsigned)\s+(\w+)\s*=\s*([0-9.]+)f?\s*;', _read("AssetCatalogue.hpp"))
    return {name: float(value) for name, value in found}


def music_volume():
    return constants()["MusicVolume"]


def master_gain(level):
    """The listener gain of a master level: 0 is silent, each step below the top is 3 dB."""
    c = constants()
    top, levels = c["MaxMasterGain"], int(c["MasterLevels"])
    if not 0 <= level <= levels:
        raise ValueError("master level %r outside 0 to %d" % (level, levels))
    return 0.0 if level == 0 else top * 10 ** ((level - levels) * 3 / 20)


def default_master_gain():
    return master_gain(int(constants()["DefaultMasterLevel"]))


def loudest_master_gain():
    return master_gain(int(constants()["MasterLevels"]))
