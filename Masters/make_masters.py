#!/usr/bin/env python3
"""Writes our sample definition files (Gen1 and Gen2 default.axeml / default.profile).

The files are ours: effect types, parameters and lists are written here from
scratch so that the sample presets decode fully. Run from anywhere:
    python3 Masters/make_masters.py
"""
import os
from xml.sax.saxutils import quoteattr

HERE = os.path.dirname(os.path.abspath(__file__))

OFF_ON = ["Off", "On"]
BYPASS = ["Active", "Bypassed"]


# A parameter: internal name, screen name, kind, and the kind's data.
#   ("LIN", min, max, precision, unit), ("LOG", min, max, precision, unit),
#   ("INT", min, max, precision, unit), ("LIST", [items])
def P(internal, screen, kind, *data, control=None, subtype=""):
    return {"internal": internal, "screen": screen, "kind": kind, "data": data,
            "control": control, "subtype": subtype}


def level(prefix):
    return P(prefix + "_LEVEL", "Level", "LIN", -80, 20, 1, "dB")


def mix(prefix):
    return P(prefix + "_MIX", "Mix", "LIN", 0, 100, 1, "%")


def balance(prefix):
    return P(prefix + "_BALANCE", "Balance", "LIN", -100, 100, 0, "")


def bypass(prefix):
    return P(prefix + "_BYPASS", "Bypass", "LIST", BYPASS, control="Switch")


AMP_MODELS = ["Clean American", "Brit Crunch", "Plexi 50W", "Plexi 100W", "Modern Lead",
              "Tweed Deluxe", "Blackface Twin", "Class A 30", "Recto Red", "Recto Orange",
              "Hot Rod Lead", "Jazz 120", "Boutique OD", "Studio Pre", "Bass Tube",
              "Top Boost", "Brown Sound", "Super Lead", "Double Verb", "Vibro Lux"]
CAB_MODELS = ["1x12 Open Back", "1x12 Closed", "2x12 Blue", "2x12 Jazz", "4x10 Bassman",
              "4x12 Green 25", "4x12 Vintage 30", "4x12 Recto", "4x12 Basketweave",
              "1x15 Bass", "2x10 Vibro", "4x12 Greenback", "1x8 Practice", "Null"]
MICS = ["None", "Dyn 57", "Dyn 421", "Cond 87", "Ribbon 121", "Ribbon 160", "Cond 414"]
DRIVE_MODELS = ["Tube Drive", "Screamer", "Rat Distortion", "Fuzz Face", "Big Muff",
                "Blues Driver", "Timothy", "Centaur", "Treble Boost", "Octave Fuzz"]
DELAY_TYPES = ["Digital Mono", "Digital Stereo", "Analog Mono", "Analog Stereo", "Tape",
               "Ping-Pong", "Dual", "Reverse", "Sweep", "Ducking"]
MULTI_TYPES = ["Quad Tap", "Plex Delay", "Band Delay", "Rhythm Tap", "Diffuser", "Quad Series"]
REVERB_TYPES = ["Small Room", "Medium Room", "Large Room", "Small Hall", "Large Hall",
                "Small Plate", "Large Plate", "Spring", "Cathedral", "Studio", "Ambience"]
CHORUS_TYPES = ["Digital Mono", "Digital Stereo", "Analog Mono", "Analog Stereo", "Japan CE-2",
                "Triangle", "8-Voice", "Vibrato"]
FLANGER_TYPES = ["Digital Mono", "Digital Stereo", "Analog Mono", "Analog Stereo",
                 "Thru-Zero", "Zero Flanger", "Jet"]
PHASER_TYPES = ["Digital Mono", "Digital Stereo", "Script 45", "Script 90", "Vibe Mono",
                "Vibe Stereo", "Barberpole"]
WAVES = ["Sine", "Triangle", "Square", "Saw Up", "Saw Down", "Random", "Log", "Exp"]
PITCH_DETUNE = ["Detune", "Virtual Capo"]
PITCH_WHAMMY = ["Whammy Up", "Whammy Down", "Octave Divider"]
FILTER_TYPES = ["Null", "Lowpass", "Bandpass", "Highpass", "Lowshelf", "Highshelf", "Peaking",
                "Notch", "Tilt EQ"]
COMP_TYPES = ["Studio", "Pedal 1", "Pedal 2", "Dynamics", "Optical", "Tube"]
WAH_TYPES = ["Fass", "Clyde", "Cry Babe", "Vox V845", "Color-Tone", "Mortal"]
ROTARY_SPEEDS = ["Slow", "Fast"]
TREM_TYPES = ["Tremolo", "Panner"]
NOTE_DIVS = ["None", "1/64", "1/32", "1/16", "1/8", "1/4", "1/2", "1/1", "1/8 Dot", "1/4 Dot",
             "1/8 Trip", "1/4 Trip"]
GATE_TYPES = ["Classic", "Modern", "Intelligent"]
ENH_TYPES = ["Modern", "Classic Stereo"]
MIX_MODES = ["Stereo", "Mono L", "Mono R", "Sum"]

# Gen2 effect types: type id, type name, instances (id, name), parameter list,
# whether parameter 0 selects the type's variant, extra variants.
GEN2_TYPES = [
    (1, "Compressor", [(100, "Compressor 1"), (101, "Compressor 2")], [
        P("CMP_TYPE", "Type", "LIST", COMP_TYPES),
        P("CMP_THRESH", "Threshold", "LIN", -60, 0, 1, "dB"),
        P("CMP_RATIO", "Ratio", "LOG", 1, 20, 2, ""),
        P("CMP_ATTACK", "Attack", "LOG", 0.1, 100, 1, "ms"),
        P("CMP_RELEASE", "Release", "LOG", 2, 2000, 0, "ms"),
        P("CMP_AUTO", "Auto", "LIST", OFF_ON, control="Switch"),
        level("CMP"), mix("CMP"), bypass("CMP")]),
    (2, "GraphicEQ", [(102, "Graphic EQ 1"), (103, "Graphic EQ 2")], [
        P("GEQ_TYPE", "Type", "LIST", ["10 Band Const-Q", "8 Band Var-Q", "5 Band Passive"]),
        P("GEQ_31", "31 Hz", "LIN", -12, 12, 1, "dB"),
        P("GEQ_63", "63 Hz", "LIN", -12, 12, 1, "dB"),
        P("GEQ_125", "125 Hz", "LIN", -12, 12, 1, "dB"),
        P("GEQ_250", "250 Hz", "LIN", -12, 12, 1, "dB"),
        P("GEQ_500", "500 Hz", "LIN", -12, 12, 1, "dB"),
        P("GEQ_1K", "1 kHz", "LIN", -12, 12, 1, "dB"),
        P("GEQ_2K", "2 kHz", "LIN", -12, 12, 1, "dB"),
        P("GEQ_4K", "4 kHz", "LIN", -12, 12, 1, "dB"),
        P("GEQ_8K", "8 kHz", "LIN", -12, 12, 1, "dB"),
        P("GEQ_16K", "16 kHz", "LIN", -12, 12, 1, "dB"),
        level("GEQ"), balance("GEQ"), bypass("GEQ")]),
    (3, "ParametricEQ", [(104, "Parametric EQ 1"), (105, "Parametric EQ 2")], [
        P("PEQ_FREQ1", "Freq 1", "LOG", 20, 2000, 0, "Hz"),
        P("PEQ_Q1", "Q 1", "LOG", 0.1, 10, 3, ""),
        P("PEQ_GAIN1", "Gain 1", "LIN", -12, 12, 2, "dB"),
        P("PEQ_FREQ2", "Freq 2", "LOG", 100, 10000, 0, "Hz"),
        P("PEQ_Q2", "Q 2", "LOG", 0.1, 10, 3, ""),
        P("PEQ_GAIN2", "Gain 2", "LIN", -12, 12, 2, "dB"),
        P("PEQ_FREQ3", "Freq 3", "LOG", 200, 20000, 0, "Hz"),
        P("PEQ_GAIN3", "Gain 3", "LIN", -12, 12, 2, "dB"),
        level("PEQ"), bypass("PEQ")]),
    (4, "Filter", [(131, "Filter 1"), (132, "Filter 2")], [
        P("FLT_TYPE", "Type", "LIST", FILTER_TYPES),
        P("FLT_FREQ", "Frequency", "LOG", 20, 20000, 0, "Hz"),
        P("FLT_Q", "Q", "LOG", 0.1, 10, 3, ""),
        P("FLT_GAIN", "Gain", "LIN", -24, 24, 1, "dB"),
        P("FLT_ORDER", "Order", "LIST", ["2nd", "4th"]),
        level("FLT"), balance("FLT"), bypass("FLT")]),
    (5, "Amp", [(106, "Amp 1"), (107, "Amp 2")], [
        P("AMP_TYPE", "Type", "LIST", AMP_MODELS, control="Selector"),
        P("AMP_DRIVE", "Input Drive", "LIN", 0, 10, 2, ""),
        P("AMP_BASS", "Bass", "LIN", 0, 10, 2, ""),
        P("AMP_MID", "Middle", "LIN", 0, 10, 2, ""),
        P("AMP_TREBLE", "Treble", "LIN", 0, 10, 2, ""),
        P("AMP_MASTER", "Master Volume", "LIN", 0, 10, 2, ""),
        P("AMP_PRESENCE", "Presence", "LIN", 0, 10, 2, ""),
        P("AMP_DEPTH", "Depth", "LIN", 0, 10, 2, ""),
        P("AMP_TRIM", "Input Trim", "LIN", 0.1, 10, 3, ""),
        P("AMP_BRIGHT", "Bright", "LIST", OFF_ON, control="Switch"),
        P("AMP_LOWCUT", "Low Cut", "LOG", 10, 2000, 1, "Hz"),
        P("AMP_HICUT", "High Cut", "LOG", 200, 20000, 0, "Hz"),
        P("AMP_SAG", "Supply Sag", "LIN", 0, 10, 2, ""),
        P("AMP_BIAS", "Power Tube Bias", "LIN", 0, 1, 3, ""),
        level("AMP"), balance("AMP"), bypass("AMP")]),
    (6, "Cab", [(108, "Cab 1"), (109, "Cab 2")], [
        P("CAB_TYPE", "Cab", "LIST", CAB_MODELS, control="Selector"),
        P("CAB_MIC", "Mic", "LIST", MICS),
        P("CAB_PROX", "Proximity", "LIN", 0, 10, 2, ""),
        P("CAB_ROOM", "Room Level", "LIN", 0, 100, 1, "%"),
        P("CAB_ROOMSIZE", "Room Size", "LIN", 0, 10, 2, ""),
        P("CAB_LOWCUT", "Low Cut", "LOG", 20, 2000, 1, "Hz"),
        P("CAB_HICUT", "High Cut", "LOG", 200, 20000, 0, "Hz"),
        P("CAB_PREAMP", "Preamp", "LIST", ["None", "Tube", "Solid State", "Vintage"]),
        level("CAB"), balance("CAB"), bypass("CAB")]),
    (7, "Chorus", [(116, "Chorus 1"), (117, "Chorus 2")], [
        P("CHO_TYPE", "Type", "LIST", CHORUS_TYPES),
        P("CHO_VOICES", "Voices", "INT", 2, 8, 0, ""),
        P("CHO_RATE", "Rate", "LOG", 0.1, 10, 3, "Hz"),
        P("CHO_DEPTH", "Depth", "LIN", 0, 100, 1, "%"),
        P("CHO_TEMPO", "Tempo", "LIST", NOTE_DIVS),
        P("CHO_DELAY", "Delay Time", "LIN", 0.1, 50, 2, "ms"),
        P("CHO_WAVE", "LFO Type", "LIST", WAVES),
        mix("CHO"), level("CHO"), bypass("CHO")]),
    (8, "Delay", [(112, "Delay 1"), (113, "Delay 2")], [
        P("DLY_TYPE", "Type", "LIST", DELAY_TYPES, control="Selector"),
        P("DLY_TIME", "Time", "LIN", 1, 8000, 0, "ms"),
        P("DLY_TEMPO", "Tempo", "LIST", NOTE_DIVS),
        P("DLY_FEEDBACK", "Feedback", "LIN", -100, 100, 1, "%"),
        P("DLY_RTIME", "Right Time", "LIN", 1, 8000, 0, "ms", subtype="2"),
        P("DLY_SPREAD", "Spread", "LIN", -100, 100, 0, "%", subtype="2"),
        P("DLY_LOWCUT", "Low Cut", "LOG", 20, 2000, 1, "Hz"),
        P("DLY_HICUT", "High Cut", "LOG", 200, 20000, 0, "Hz"),
        P("DLY_MODRATE", "Mod Rate", "LOG", 0.1, 10, 3, "Hz"),
        P("DLY_MODDEPTH", "Mod Depth", "LIN", 0, 100, 1, "%"),
        mix("DLY"), level("DLY"), bypass("DLY")]),
    (9, "Enhancer", [(135, "Enhancer 1")], [
        P("ENH_TYPE", "Type", "LIST", ENH_TYPES),
        P("ENH_WIDTH", "Width", "LIN", 0, 100, 1, "%"),
        P("ENH_DEPTH", "Depth", "LIN", 0, 100, 1, "%"),
        level("ENH"), balance("ENH"), bypass("ENH")]),
    (10, "Drive", [(133, "Drive 1"), (134, "Drive 2")], [
        P("DRV_TYPE", "Type", "LIST", DRIVE_MODELS, control="Selector"),
        P("DRV_GAIN", "Drive", "LIN", 0, 10, 2, ""),
        P("DRV_TONE", "Tone", "LIN", 0, 10, 2, ""),
        P("DRV_VOLUME", "Volume", "LIN", 0, 10, 2, ""),
        P("DRV_LOWCUT", "Low Cut", "LOG", 10, 2000, 1, "Hz"),
        P("DRV_HICUT", "High Cut", "LOG", 200, 20000, 0, "Hz"),
        P("DRV_CLIP", "Clip Type", "LIST", ["Soft", "Hard", "Diode", "LED", "Germanium"]),
        mix("DRV"), level("DRV"), bypass("DRV")]),
    (11, "Flanger", [(118, "Flanger 1"), (119, "Flanger 2")], [
        P("FLG_TYPE", "Type", "LIST", FLANGER_TYPES),
        P("FLG_RATE", "Rate", "LOG", 0.05, 10, 3, "Hz"),
        P("FLG_DEPTH", "Depth", "LIN", 0, 100, 1, "%"),
        P("FLG_FEEDBACK", "Feedback", "LIN", -100, 100, 1, "%"),
        P("FLG_DELAY", "Delay Time", "LIN", 0.1, 10, 2, "ms"),
        P("FLG_TEMPO", "Tempo", "LIST", NOTE_DIVS),
        mix("FLG"), level("FLG"), bypass("FLG")]),
    (12, "Formant", [(126, "Formant 1")], [
        P("FRM_START", "Start", "LIST", ["A", "E", "I", "O", "U"]),
        P("FRM_MID", "Mid", "LIST", ["A", "E", "I", "O", "U"]),
        P("FRM_END", "End", "LIST", ["A", "E", "I", "O", "U"]),
        P("FRM_CTRL", "Control", "LIN", 0, 100, 1, "%"),
        P("FRM_RES", "Resonance", "LIN", 0, 100, 1, "%"),
        level("FRM"), bypass("FRM")]),
    (13, "MultiDelay", [(114, "Multi Delay 1"), (115, "Multi Delay 2")], [
        P("MDL_TYPE", "Type", "LIST", MULTI_TYPES),
        P("MDL_TIME1", "Time 1", "LIN", 1, 4000, 0, "ms"),
        P("MDL_TIME2", "Time 2", "LIN", 1, 4000, 0, "ms"),
        P("MDL_TIME3", "Time 3", "LIN", 1, 4000, 0, "ms"),
        P("MDL_TIME4", "Time 4", "LIN", 1, 4000, 0, "ms"),
        P("MDL_FEEDBACK", "Master Feedback", "LIN", 0, 100, 1, "%"),
        P("MDL_DIFF", "Diffusion", "LIN", 0, 100, 1, "%"),
        mix("MDL"), level("MDL"), bypass("MDL")]),
    (14, "Phaser", [(122, "Phaser 1"), (123, "Phaser 2")], [
        P("PHA_TYPE", "Type", "LIST", PHASER_TYPES),
        P("PHA_ORDER", "Order", "INT", 2, 12, 0, ""),
        P("PHA_RATE", "Rate", "LOG", 0.05, 10, 3, "Hz"),
        P("PHA_DEPTH", "Depth", "LIN", 0, 100, 1, "%"),
        P("PHA_FEEDBACK", "Feedback", "LIN", -100, 100, 1, "%"),
        P("PHA_TEMPO", "Tempo", "LIST", NOTE_DIVS),
        mix("PHA"), level("PHA"), bypass("PHA")]),
    (15, "Rotary", [(120, "Rotary 1"), (121, "Rotary 2")], [
        P("ROT_SPEED", "Speed", "LIST", ROTARY_SPEEDS, control="Switch"),
        P("ROT_LOWRATE", "Low Rate", "LIN", 0.1, 10, 2, "Hz"),
        P("ROT_HIRATE", "High Rate", "LIN", 0.1, 10, 2, "Hz"),
        P("ROT_DRIVE", "Drive", "LIN", 0, 10, 2, ""),
        P("ROT_SPACING", "Mic Spacing", "LIN", 0, 100, 0, "%"),
        mix("ROT"), level("ROT"), bypass("ROT")]),
    (16, "Tremolo", [(128, "Tremolo 1"), (129, "Tremolo 2")], [
        P("TRM_TYPE", "Type", "LIST", TREM_TYPES),
        P("TRM_WAVE", "LFO Type", "LIST", WAVES),
        P("TRM_RATE", "Rate", "LOG", 0.1, 20, 2, "Hz"),
        P("TRM_TEMPO", "Tempo", "LIST", NOTE_DIVS),
        P("TRM_DEPTH", "Depth", "LIN", 0, 100, 1, "%"),
        level("TRM"), bypass("TRM")]),
    (17, "Pitch", [(130, "Pitch 1")], [
        P("PIT_TYPE", "Type", "LIST", PITCH_DETUNE + PITCH_WHAMMY, control="Selector"),
        P("PIT_DETUNE1", "Detune 1", "LIN", -50, 50, 1, "cents"),
        P("PIT_DETUNE2", "Detune 2", "LIN", -50, 50, 1, "cents"),
        P("PIT_DELAY1", "Delay 1", "LIN", 0, 1000, 0, "ms"),
        P("PIT_DELAY2", "Delay 2", "LIN", 0, 1000, 0, "ms"),
        P("PIT_SHIFT", "Shift", "INT", -24, 24, 0, "semitones"),
        mix("PIT"), level("PIT"), bypass("PIT")]),
    (18, "Volume", [(127, "Volume 1")], [
        P("VOL_VOLUME", "Volume", "LIN", 0, 10, 1, ""),
        P("VOL_TAPER", "Taper", "LIST", ["Linear", "Log 20A", "Log 15A", "Log 10A"]),
        P("VOL_PAN", "Pan", "LIN", -100, 100, 0, ""),
        level("VOL"), bypass("VOL")]),
    (19, "Reverb", [(110, "Reverb 1"), (111, "Reverb 2")], [
        P("REV_TYPE", "Type", "LIST", REVERB_TYPES, control="Selector"),
        P("REV_TIME", "Time", "LOG", 0.1, 100, 2, "s"),
        P("REV_PREDELAY", "Predelay", "LIN", 0, 250, 1, "ms"),
        P("REV_SIZE", "Size", "LIN", 0, 100, 1, "%"),
        P("REV_DIFF", "Diffusion", "LIN", 0, 10, 2, ""),
        P("REV_LOWCUT", "Low Cut", "LOG", 20, 2000, 1, "Hz"),
        P("REV_HICUT", "High Cut", "LOG", 200, 20000, 0, "Hz"),
        P("REV_SPRING", "Springs", "INT", 2, 6, 0, "", subtype="8"),
        mix("REV"), level("REV"), bypass("REV")]),
    (20, "Wah", [(124, "Wah 1"), (125, "Wah 2")], [
        P("WAH_TYPE", "Type", "LIST", WAH_TYPES),
        P("WAH_MINFREQ", "Min Freq", "LOG", 100, 1000, 0, "Hz"),
        P("WAH_MAXFREQ", "Max Freq", "LOG", 500, 5000, 0, "Hz"),
        P("WAH_RES", "Resonance", "LIN", 0, 10, 2, ""),
        P("WAH_CTRL", "Control", "LIN", 0, 100, 1, "%"),
        level("WAH"), bypass("WAH")]),
    (21, "Mixer", [(137, "Mixer 1"), (138, "Mixer 2")], [
        P("MIX_GAIN1", "Gain 1", "LIN", -80, 20, 1, "dB"),
        P("MIX_GAIN2", "Gain 2", "LIN", -80, 20, 1, "dB"),
        P("MIX_GAIN3", "Gain 3", "LIN", -80, 20, 1, "dB"),
        P("MIX_GAIN4", "Gain 4", "LIN", -80, 20, 1, "dB"),
        P("MIX_MODE", "Output Mode", "LIST", MIX_MODES),
        level("MIX"), bypass("MIX")]),
    (22, "Gate", [(139, "Gate 1")], [
        P("GAT_TYPE", "Type", "LIST", GATE_TYPES),
        P("GAT_THRESH", "Threshold", "LIN", -80, 0, 1, "dB"),
        P("GAT_ATTACK", "Attack", "LOG", 0.1, 100, 1, "ms"),
        P("GAT_RELEASE", "Release", "LOG", 1, 1000, 0, "ms"),
        level("GAT"), bypass("GAT")]),
    (23, "Loop", [(136, "Effects Loop")], [
        P("LOP_LEVEL", "Return Level", "LIN", -80, 20, 1, "dB"),
        P("LOP_MODE", "Mode", "LIST", ["Stereo", "Mono", "Series", "Parallel"]),
        mix("LOP"), bypass("LOP")]),
]

# Types whose parameter 0 does not pick a variant (no type selector).
NO_VARIANT = {"Volume", "Mixer", "Loop", "ParametricEQ"}

# Gen2 types with a second variant. The second variant keeps the type selector
# and the mix/level/bypass tail of the first and adds parameters of its own,
# numbered after the first variant's: one parameter list per type serves both.
GEN2_VARIANTS = {
    "Pitch": [
        P("PIT_WHAMMY", "Pedal Position", "LIN", 0, 100, 1, "%"),
        P("PIT_START", "Start Shift", "INT", -24, 24, 0, "semitones"),
        P("PIT_STOP", "Stop Shift", "INT", -24, 24, 0, "semitones"),
        P("PIT_TRACK", "Tracking", "LIST", ["Poly", "Mono"]),
        P("PIT_CTRL", "Control", "LIN", 0, 100, 1, "%")],
    "Filter": [
        P("FLT_RATE", "Sweep Rate", "LOG", 0.1, 10, 3, "Hz"),
        P("FLT_DEPTH", "Sweep Depth", "LIN", 0, 100, 1, "%")],
}
SHARED_TAIL = ("_MIX", "_LEVEL", "_BALANCE", "_BYPASS")


def variants_of(tname, params):
    """[(variant name, [(id, parameter)])] of a Gen2 type."""
    base = list(enumerate(params))
    out = [("Standard", base)]
    if tname in GEN2_VARIANTS:
        extra = [(len(params) + k, p) for k, p in enumerate(GEN2_VARIANTS[tname])]
        kept = [(i, p) for i, p in base if i == 0 or p["internal"].endswith(SHARED_TAIL)]
        out.append(("Alternate", kept[:1] + extra + kept[1:]))
    return out


# The first generation: fewer types, byte-sized values, lists of at most 100 entries.
GEN1_IDS = {
    "Compressor": [(100, "Compressor 1")],
    "GraphicEQ": [(102, "Graphic EQ 1")],
    "Amp": [(106, "Amp 1"), (107, "Amp 2")],
    "Cab": [(108, "Cab 1"), (109, "Cab 2")],
    "Reverb": [(110, "Reverb 1")],
    "Delay": [(112, "Delay 1")],
    "Chorus": [(116, "Chorus 1")],
    "Flanger": [(118, "Flanger 1")],
    "Phaser": [(122, "Phaser 1")],
    "Wah": [(124, "Wah 1")],
    "Volume": [(127, "Volume 1")],
    "Tremolo": [(128, "Tremolo 1")],
    "Pitch": [(130, "Pitch 1")],
    "Filter": [(131, "Filter 1")],
    "Drive": [(133, "Drive 1"), (134, "Drive 2")],
    "Gate": [(139, "Gate 1")],
}
GEN1_TYPEIDS = {"Compressor": 1, "GraphicEQ": 2, "Filter": 4, "Amp": 5, "Cab": 6, "Chorus": 7,
                "Delay": 8, "Drive": 10, "Flanger": 11, "Phaser": 14, "Tremolo": 16,
                "Pitch": 17, "Volume": 18, "Reverb": 19, "Wah": 20, "Gate": 22}


def fmt(v):
    if isinstance(v, float):
        return repr(v)
    return str(v)


def numeric(p, gen):
    """ParamType, Default, Minimum, Maximum, Precision, Unit, NumVals of a parameter."""
    steps = 65534 if gen == 2 else 255
    if p["kind"] == "LIST":
        items = p["data"][0]
        n = len(items) - 1
        return "INT", 0, 0, n, 0, "", max(n, 1)
    lo, hi, prec, unit = p["data"]
    if p["kind"] == "INT":
        return "INT", lo, lo, hi, prec, unit, hi - lo
    default = lo if p["kind"] == "LOG" else (lo + hi) / 2
    if isinstance(default, float) and default.is_integer():
        default = int(default)
    return p["kind"], default, lo, hi, prec, unit, steps


def modifier_id(i, p, gen):
    if p["internal"].endswith("_BYPASS"):
        return 255 if gen == 1 else 0
    return 0 if p["kind"] == "LIST" else i + 1


def attrs(**kw):
    return " ".join("%s=%s" % (k, quoteattr(fmt(v))) for k, v in kw.items())


def editor_pages(params, gen):
    """Splits a variant's parameters into editor pages of at most eight controls."""
    shown = list(params)
    pages = [("Basic" if gen == 2 else "Main", shown[:8])]
    if shown[8:]:
        pages.append(("Advanced", shown[8:]))
    return pages


def control_xml(p, row_end, gen, indent):
    ctype = p["control"] or ("Selector" if p["kind"] == "LIST" else "Knob")
    # Gen1 spells the parameter attribute with a small p.
    pname_attr = "ParameterName" if gen == 2 else "parameterName"
    a = {"Name": p["screen"], "Type": ctype, pname_attr: p["internal"], "OffsetX": 0, "OffsetY": 0}
    if p["subtype"]:
        a["SubType"] = p["subtype"]
    if row_end:
        a["RowFlag"] = "Row"
    return indent + "<EditorControl %s/>" % attrs(**a)


def spacer(gen, indent):
    pname_attr = "ParameterName" if gen == 2 else "parameterName"
    return indent + "<EditorControl %s/>" % attrs(Name="", Type="Spacer", **{pname_attr: "SPACER"})


def section_xml(params, gen, indent):
    """Controls of one section, four to a grid row; a row of two gets a spacer between."""
    out = []
    for start in range(0, len(params), 4):
        chunk = params[start:start + 4]
        for k, (i, p) in enumerate(chunk):
            if len(chunk) == 2 and k == 1:
                out.append(spacer(gen, indent))
            out.append(control_xml(p, k == len(chunk) - 1, gen, indent))
    return out


def editor_xml(tid, tname, first_id, variants, gen):
    """One EditorControls tree for an effect type."""
    sync = "True" if len(variants) > 1 else "False"
    lines = ['    <EditorControls %s>' % attrs(
        Name=tname, Value=first_id, TypeID=tid, Type="Effect", SyncVariantsToType=sync,
        SubTypeParameter=variants[0][1][0][1]["internal"],
        SubTypeParameterPage="Basic" if gen == 2 else "Main")]
    for vid, (vname, params) in enumerate(variants):
        lines.append('      <EffectVariant %s>' % attrs(Name=vname, Value=vid, TypeID=tid))
        for pname, plist in editor_pages(params, gen):
            subtypes = sorted({p["subtype"] for _, p in plist if p["subtype"]})
            # A page drawn once per sub-type when some of its controls belong to one.
            pages = (["1"] + subtypes) if subtypes else [""]
            for st in pages:
                page = {"Name": pname, "Note": "", "Monitor": "Output", "Layout": "Grid4"}
                if st:
                    page["SubType"] = st
                lines.append('        <Page %s>' % attrs(**page))
                knobs = [(i, p) for i, p in plist if p["kind"] != "LIST"]
                lists = [(i, p) for i, p in plist if p["kind"] == "LIST"]
                for sname, sp in (("Controls", knobs), ("Selectors", lists)):
                    if sp:
                        lines.append('          <Section PageSection=%s>' % quoteattr(sname))
                        lines += section_xml(sp, gen, "            ")
                        lines.append('          </Section>')
                lines.append('        </Page>')
        lines.append('      </EffectVariant>')
    lines.append('    </EditorControls>')
    return lines


def profile_param(i, p, gen, bypass_id):
    ptype, default, lo, hi, prec, unit, numvals = numeric(p, gen)
    a = {"ParamID": i, "ParamType": ptype, "ModifierID": modifier_id(i, p, gen)}
    if gen == 2:
        a["BypassParamID"] = bypass_id
    a.update(Default=default, Minimum=lo, Maximum=hi, Precision=prec, Unit=unit, NumVals=numvals)
    return a


def items_attrs(items, limit):
    return {"Item%d" % k: t for k, t in enumerate(items[:limit])}


def gen2():
    ax = ['<?xml version="1.0" encoding="UTF-8"?>',
          '<!-- Tonalyx sample definitions, second generation (device type 3). -->',
          '<AxeML Device="Axe-FX II" Version="1">', '  <EffectPool>']
    for tid, tname, inst, params in GEN2_TYPES:
        for eid, ename in inst:
            ax.append('    <EffectPoolInstance %s/>' % attrs(ID=eid, Name=ename, Type=tname, TypeID=tid))
    ax.append('  </EffectPool>')
    ax.append('  <EffectParameterLists>')
    for tid, tname, inst, params in GEN2_TYPES:
        variants = variants_of(tname, params)
        every = {}
        for _, plist in variants:
            for i, p in plist:
                every.setdefault(i, p)
        ax.append('    <EffectParameters %s>' % attrs(Name=tname, TypeID=tid, BypassParam=len(params) - 1))
        for i in sorted(every):
            ax.append('      <EffectParameter %s/>' % attrs(ID=i, Name=every[i]["internal"],
                                                            ModifierID=modifier_id(i, every[i], 2)))
        ax.append('    </EffectParameters>')
    ax.append('  </EffectParameterLists>')
    ax.append('  <CabPool>')
    for k, name in enumerate(CAB_MODELS):
        ax.append('    <Cab><ID>%d</ID><Name>%s</Name></Cab>' % (k, name))
    ax.append('  </CabPool>')
    ax.append('  <EditorLayouts>')
    for tid, tname, inst, params in GEN2_TYPES:
        ax += editor_xml(tid, tname, inst[0][0], variants_of(tname, params), 2)
    ax.append('  </EditorLayouts>')
    ax.append('</AxeML>')

    pr = ['<?xml version="1.0" encoding="UTF-8"?>',
          '<!-- Tonalyx sample profile, second generation (device type 3). -->',
          '<Profile Device="Axe-FX II" Version="1">', '  <Effects>']
    for tid, tname, inst, params in GEN2_TYPES:
        varparam = -1 if tname in NO_VARIANT else 0
        for vid, (vname, plist) in enumerate(variants_of(tname, params)):
            pr.append('    <Effect %s>' % attrs(EffectID=inst[0][0], TypeID=tid, EffectType=tname,
                                                VariantParamID=varparam, EffectVariantID=vid))
            for i, p in plist:
                a = profile_param(i, p, 2, len(params) - 1)
                if p["kind"] == "LIST":
                    a.update(items_attrs(p["data"][0], 256))
                pr.append('      <Parameter %s/>' % attrs(**a))
            pr.append('    </Effect>')
    pr.append('  </Effects>')
    pr.append('</Profile>')
    return ax, pr


def gen1():
    types = [(GEN1_TYPEIDS[t[1]], t[1], GEN1_IDS[t[1]], t[3]) for t in GEN2_TYPES if t[1] in GEN1_IDS]
    ax = ['<?xml version="1.0" encoding="UTF-8"?>',
          '<!-- Tonalyx sample definitions, first generation (device type 1). -->',
          '<AxeML Device="Axe-FX" Version="1">', '  <EffectPool>']
    for tid, tname, inst, params in types:
        for eid, ename in inst:
            # Child elements here, attributes elsewhere: the reader takes both.
            ax.append('    <EffectPoolInstance><ID>%d</ID><Name>%s</Name><Type>%s</Type>'
                      '<TypeID>%d</TypeID></EffectPoolInstance>' % (eid, ename, tname, tid))
    ax.append('  </EffectPool>')
    ax.append('  <EffectParameterLists>')
    for tid, tname, inst, params in types:
        ax.append('    <EffectParameters %s>' % attrs(Name=tname))
        for i, p in enumerate(params):
            ax.append('      <EffectParameter %s/>' % attrs(ID=i, Name=p["internal"],
                                                            ModifierID=modifier_id(i, p, 1)))
        ax.append('    </EffectParameters>')
    ax.append('  </EffectParameterLists>')
    ax.append('  <EditorLayouts>')
    for tid, tname, inst, params in types:
        ax += editor_xml(tid, tname, inst[0][0], [("Standard", list(enumerate(params)))], 1)
    ax.append('  </EditorLayouts>')
    ax.append('</AxeML>')

    pr = ['<?xml version="1.0" encoding="UTF-8"?>',
          '<!-- Tonalyx sample profile, first generation (device type 1). -->',
          '<Profile Device="Axe-FX" Version="1">', '  <Parameters>']
    for tid, tname, inst, params in types:
        for i, p in enumerate(params):
            a = {"EffectType": tname, "EffectID": inst[0][0]}
            a.update(profile_param(i, p, 1, 0))
            if p["kind"] == "LIST":
                a.update(items_attrs(p["data"][0], 100))
            pr.append('    <Parameter %s/>' % attrs(**a))
    pr.append('  </Parameters>')
    pr.append('</Profile>')
    return ax, pr


def write(path, lines):
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


def main():
    ax2, pr2 = gen2()
    ax1, pr1 = gen1()
    os.makedirs(os.path.join(HERE, "Gen1"), exist_ok=True)
    os.makedirs(os.path.join(HERE, "Gen2"), exist_ok=True)
    write(os.path.join(HERE, "Gen2", "default.axeml"), ax2)
    write(os.path.join(HERE, "Gen2", "default.profile"), pr2)
    write(os.path.join(HERE, "Gen1", "default.axeml"), ax1)
    write(os.path.join(HERE, "Gen1", "default.profile"), pr1)


if __name__ == "__main__":
    main()
