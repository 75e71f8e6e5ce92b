<?xml version="1.0" encoding="UTF-8"?>
<!-- Tonalyx sample profile, first generation (device type 1). -->
<Profile Device="Axe-FX" Version="1">
  <Parameters>
    <Parameter EffectType="Compressor" EffectID="100" ParamID="0" ParamType="INT" ModifierID="0" Default="0" Minimum="0" Maximum="5" Precision="0" Unit="" NumVals="5" Item0="Studio" Item1="Pedal 1" Item2="Pedal 2" Item3="Dynamics" Item4="Optical" Item5="Tube"/>
    <Parameter EffectType="Compressor" EffectID="100" ParamID="1" ParamType="LIN" ModifierID="2" Default="-30" Minimum="-60" Maximum="0" Precision="1" Unit="dB" NumVals="255"/>
    <Parameter EffectType="Compressor" EffectID="100" ParamID="2" ParamType="LOG" ModifierID="3" Default="1" Minimum="1" Maximum="20" Precision="2" Unit="" NumVals="255"/>
    <Parameter EffectType="Compressor" EffectID="100" ParamID="3" ParamType="LOG" ModifierID="4" Default="0.1" Minimum="0.1" Maximum="100" Precision="1" Unit="ms" NumVals="255"/>
    <Parameter EffectType="Compressor" EffectID="100" ParamID="4" ParamType="LOG" ModifierID="5" Default="2" Minimum="2" Maximum="2000" Precision="0" Unit="ms" NumVals="255"/>
    <Parameter EffectType="Compressor" EffectID="100" ParamID="5" ParamType="INT" ModifierID="0" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Off" Item1="On"/>
    <Parameter EffectType="Compressor" EffectID="100" ParamID="6" ParamType="LIN" ModifierID="7" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="255"/>
    <Parameter EffectType="Compressor" EffectID="100" ParamID="7" ParamType="LIN" ModifierID="8" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="255"/>
    <Parameter EffectType="Compressor" EffectID="100" ParamID="8" ParamType="INT" ModifierID="255" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    <Parameter EffectType="GraphicEQ" EffectID="102" ParamID="0" ParamType="INT" ModifierID="0" Default="0" Minimum="0" Maximum="2" Precision="0" Unit="" NumVals="2" Item0="10 Band Const-Q" Item1="8 Band Var-Q" Item2="5 Band Passive"/>
    <Parameter EffectType="GraphicEQ" EffectID="102" ParamID="1" ParamType="LIN" ModifierID="2" Default="0" Minimum="-12" Maximum="12" Precision="1" Unit="dB" NumVals="255"/>
    <Parameter EffectType="GraphicEQ" EffectID="102" ParamID="2" ParamType="LIN" ModifierID="3" Default="0" Minimum="-12" Maximum="12" Precision="1" Unit="dB" NumVals="255"/>
    <Parameter EffectType="GraphicEQ" EffectID="102" ParamID="3" ParamType="LIN" ModifierID="4" Default="0" Minimum="-12" Maximum="12" Precision="1" Unit="dB" NumVals="255"/>
    <Parameter EffectType="GraphicEQ" EffectID="102" ParamID="4" ParamType="LIN" ModifierID="5" Default="0" Minimum="-12" Maximum="12" Precision="1" Unit="dB" NumVals="255"/>
    <Parameter EffectType="GraphicEQ" EffectID="102" ParamID="5" ParamType="LIN" ModifierID="6" Default="0" Minimum="-12" Maximum="12" Precision="1" Unit="dB" NumVals="255"/>
    <Parameter EffectType="GraphicEQ" EffectID="102" ParamID="6" ParamType="LIN" ModifierID="7" Default="0" Minimum="-12" Maximum="12" Precision="1" Unit="dB" NumVals="255"/>
    <Parameter EffectType="GraphicEQ" EffectID="102" ParamID="7" ParamType="LIN" ModifierID="8" Default="0" Minimum="-12" Maximum="12" Precision="1" Unit="dB" NumVals="255"/>
    <Parameter EffectType="GraphicEQ" EffectID="102" ParamID="8" ParamType="LIN" ModifierID="9" Default="0" Minimum="-12" Maximum="12" Precision="1" Unit="dB" NumVals="255"/>
    <Parameter EffectType="GraphicEQ" EffectID="102" ParamID="9" ParamType="LIN" ModifierID="10" Default="0" Minimum="-12" Maximum="12" Precision="1" Unit="dB" NumVals="255"/>
    <Parameter EffectType="GraphicEQ" EffectID="102" ParamID="10" ParamType="LIN" ModifierID="11" Default="0" Minimum="-12" Maximum="12" Precision="1" Unit="dB" NumVals="255"/>
    <Parameter EffectType="GraphicEQ" EffectID="102" ParamID="11" ParamType="LIN" ModifierID="12" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="255"/>
    <Parameter EffectType="GraphicEQ" EffectID="102" ParamID="12" ParamType="LIN" ModifierID="13" Default="0" Minimum="-100" Maximum="100" Precision="0" Unit="" NumVals="255"/>
    <Parameter EffectType="GraphicEQ" EffectID="102" ParamID="13" ParamType="INT" ModifierID="255" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    <Parameter EffectType="Filter" EffectID="131" ParamID="0" ParamType="INT" ModifierID="0" Default="0" Minimum="0" Maximum="8" Precision="0" Unit="" NumVals="8" Item0="Null" Item1="Lowpass" Item2="Bandpass" Item3="Highpass" Item4="Lowshelf" Item5="Highshelf" Item6="Peaking" Item7="Notch" Item8="Tilt EQ"/>
    <Parameter EffectType="Filter" EffectID="131" ParamID="1" ParamType="LOG" ModifierID="2" Default="20" Minimum="20" Maximum="20000" Precision="0" Unit="Hz" NumVals="255"/>
    <Parameter EffectType="Filter" EffectID="131" ParamID="2" ParamType="LOG" ModifierID="3" Default="0.1" Minimum="0.1" Maximum="10" Precision="3" Unit="" NumVals="255"/>
    <Parameter EffectType="Filter" EffectID="131" ParamID="3" ParamType="LIN" ModifierID="4" Default="0" Minimum="-24" Maximum="24" Precision="1" Unit="dB" NumVals="255"/>
    <Parameter EffectType="Filter" EffectID="131" ParamID="4" ParamType="INT" ModifierID="0" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="2nd" Item1="4th"/>
    <Parameter EffectType="Filter" EffectID="131" ParamID="5" ParamType="LIN" ModifierID="6" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="255"/>
    <Parameter EffectType="Filter" EffectID="131" ParamID="6" ParamType="LIN" ModifierID="7" Default="0" Minimum="-100" Maximum="100" Precision="0" Unit="" NumVals="255"/>
    <Parameter EffectType="Filter" EffectID="131" ParamID="7" ParamType="INT" ModifierID="255" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    <Parameter EffectType="Amp" EffectID="106" ParamID="0" ParamType="INT" ModifierID="0" Default="0" Minimum="0" Maximum="19" Precision="0" Unit="" NumVals="19" Item0="Clean American" Item1="Brit Crunch" Item2="Plexi 50W" Item3="Plexi 100W" Item4="Modern Lead" Item5="Tweed Deluxe" Item6="Blackface Twin" Item7="Class A 30" Item8="Recto Red" Item9="Recto Orange" Item10="Hot Rod Lead" Item11="Jazz 120" Item12="Boutique OD" Item13="Studio Pre" Item14="Bass Tube" Item15="Top Boost" Item16="Brown Sound" Item17="Super Lead" Item18="Double Verb" Item19="Vibro Lux"/>
    <Parameter EffectType="Amp" EffectID="106" ParamID="1" ParamType="LIN" ModifierID="2" Default="5" Minimum="0" Maximum="10" Precision="2" Unit="" NumVals="255"/>
    <Parameter EffectType="Amp" EffectID="106" ParamID="2" ParamType="LIN" ModifierID="3" Default="5" Minimum="0" Maximum="10" Precision="2" Unit="" NumVals="255"/>
    <Parameter EffectType="Amp" EffectID="106" ParamID="3" ParamType="LIN" ModifierID="4" Default="5" Minimum="0" Maximum="10" Precision="2" Unit="" NumVals="255"/>
    <Parameter EffectType="Amp" EffectID="106" ParamID="4" ParamType="LIN" ModifierID="5" Default="5" Minimum="0" Maximum="10" Precision="2" Unit="" NumVals="255"/>
    <Parameter EffectType="Amp" EffectID="106" ParamID="5" ParamType="LIN" ModifierID="6" Default="5" Minimum="0" Maximum="10" Precision="2" Unit="" NumVals="255"/>
    <Parameter EffectType="Amp" EffectID="106" ParamID="6" ParamType="LIN" ModifierID="7" Default="5" Minimum="0" Maximum="10" Precision="2" Unit="" NumVals="255"/>
    <Parameter EffectType="Amp" EffectID="106" ParamID="7" ParamType="LIN" ModifierID="8" Default="5" Minimum="0" Maximum="10" Precision="2" Unit="" NumVals="255"/>
    <Parameter EffectType="Amp" EffectID="106" ParamID="8" ParamType="LIN" ModifierID="9" Default="5.05" Minimum="0.1" Maximum="10" Precision="3" Unit="" NumVals="255"/>
    <Parameter EffectType="Amp" EffectID="106" ParamID="9" ParamType="INT" ModifierID="0" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Off" Item1="On"/>
    <Parameter EffectType="Amp" EffectID="106" ParamID="10" ParamType="LOG" ModifierID="11" Default="10" Minimum="10" Maximum="2000" Precision="1" Unit="Hz" NumVals="255"/>
    <Parameter EffectType="Amp" EffectID="106" ParamID="11" ParamType="LOG" ModifierID="12" Default="200" Minimum="200" Maximum="20000" Precision="0" Unit="Hz" NumVals="255"/>
    <Parameter EffectType="Amp" EffectID="106" ParamID="12" ParamType="LIN" ModifierID="13" Default="5" Minimum="0" Maximum="10" Precision="2" Unit="" NumVals="255"/>
    <Parameter EffectType="Amp" EffectID="106" ParamID="13" ParamType="LIN" ModifierID="14" Default="0.5" Minimum="0" Maximum="1" Precision="3" Unit="" NumVals="255"/>
    <Parameter EffectType="Amp" EffectID="106" ParamID="14" ParamType="LIN" ModifierID="15" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="255"/>
    <Parameter EffectType="Amp" EffectID="106" ParamID="15" ParamType="LIN" ModifierID="16" Default="0" Minimum="-100" Maximum="100" Precision="0" Unit="" NumVals="255"/>
    <Parameter EffectType="Amp" EffectID="106" ParamID="16" ParamType="INT" ModifierID="255" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    <Parameter EffectType="Cab" EffectID="108" ParamID="0" ParamType="INT" ModifierID="0" Default="0" Minimum="0" Maximum="13" Precision="0" Unit="" NumVals="13" Item0="1x12 Open Back" Item1="1x12 Closed" Item2="2x12 Blue" Item3="2x12 Jazz" Item4="4x10 Bassman" Item5="4x12 Green 25" Item6="4x12 Vintage 30" Item7="4x12 Recto" Item8="4x12 Basketweave" Item9="1x15 Bass" Item10="2x10 Vibro" Item11="4x12 Greenback" Item12="1x8 Practice" Item13="Null"/>
    <Parameter EffectType="Cab" EffectID="108" ParamID="1" ParamType="INT" ModifierID="0" Default="0" Minimum="0" Maximum="6" Precision="0" Unit="" NumVals="6" Item0="None" Item1="Dyn 57" Item2="Dyn 421" Item3="Cond 87" Item4="Ribbon 121" Item5="Ribbon 160" Item6="Cond 414"/>
    <Parameter EffectType="Cab" EffectID="108" ParamID="2" ParamType="LIN" ModifierID="3" Default="5" Minimum="0" Maximum="10" Precision="2" Unit="" NumVals="255"/>
    <Parameter EffectType="Cab" EffectID="108" ParamID="3" ParamType="LIN" ModifierID="4" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="255"/>
    <Parameter EffectType="Cab" EffectID="108" ParamID="4" ParamType="LIN" ModifierID="5" Default="5" Minimum="0" Maximum="10" Precision="2" Unit="" NumVals="255"/>
    <Parameter EffectType="Cab" EffectID="108" ParamID="5" ParamType="LOG" ModifierID="6" Default="20" Minimum="20" Maximum="2000" Precision="1" Unit="Hz" NumVals="255"/>
    <Parameter EffectType="Cab" EffectID="108" ParamID="6" ParamType="LOG" ModifierID="7" Default="200" Minimum="200" Maximum="20000" Precision="0" Unit="Hz" NumVals="255"/>
    <Parameter EffectType="Cab" EffectID="108" ParamID="7" ParamType="INT" ModifierID="0" Default="0" Minimum="0" Maximum="3" Precision="0" Unit="" NumVals="3" Item0="None" Item1="Tube" Item2="Solid State" Item3="Vintage"/>
    <Parameter EffectType="Cab" EffectID="108" ParamID="8" ParamType="LIN" ModifierID="9" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="255"/>
    <Parameter EffectType="Cab" EffectID="108" ParamID="9" ParamType="LIN" ModifierID="10" Default="0" Minimum="-100" Maximum="100" Precision="0" Unit="" NumVals="255"/>
    <Parameter EffectType="Cab" EffectID="108" ParamID="10" ParamType="INT" ModifierID="255" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    <Parameter EffectType="Chorus" EffectID="116" ParamID="0" ParamType="INT" ModifierID="0" Default="0" Minimum="0" Maximum="7" Precision="0" Unit="" NumVals="7" Item0="Digital Mono" Item1="Digital Stereo" Item2="Analog Mono" Item3="Analog Stereo" Item4="Japan CE-2" Item5="Triangle" Item6="8-Voice" Item7="Vibrato"/>
    <Parameter EffectType="Chorus" EffectID="116" ParamID="1" ParamType="INT" ModifierID="2" Default="2" Minimum="2" Maximum="8" Precision="0" Unit="" NumVals="6"/>
    <Parameter EffectType="Chorus" EffectID="116" ParamID="2" ParamType="LOG" ModifierID="3" Default="0.1" Minimum="0.1" Maximum="10" Precision="3" Unit="Hz" NumVals="255"/>
    <Parameter EffectType="Chorus" EffectID="116" ParamID="3" ParamType="LIN" ModifierID="4" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="255"/>
    <Parameter EffectType="Chorus" EffectID="116" ParamID="4" ParamType="INT" ModifierID="0" Default="0" Minimum="0" Maximum="11" Precision="0" Unit="" NumVals="11" Item0="None" Item1="1/64" Item2="1/32" Item3="1/16" Item4="1/8" Item5="1/4" Item6="1/2" Item7="1/1" Item8="1/8 Dot" Item9="1/4 Dot" Item10="1/8 Trip" Item11="1/4 Trip"/>
    <Parameter EffectType="Chorus" EffectID="116" ParamID="5" ParamType="LIN" ModifierID="6" Default="25.05" Minimum="0.1" Maximum="50" Precision="2" Unit="ms" NumVals="255"/>
    <Parameter EffectType="Chorus" EffectID="116" ParamID="6" ParamType="INT" ModifierID="0" Default="0" Minimum="0" Maximum="7" Precision="0" Unit="" NumVals="7" Item0="Sine" Item1="Triangle" Item2="Square" Item3="Saw Up" Item4="Saw Down" Item5="Random" Item6="Log" Item7="Exp"/>
    <Parameter EffectType="Chorus" EffectID="116" ParamID="7" ParamType="LIN" ModifierID="8" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="255"/>
    <Parameter EffectType="Chorus" EffectID="116" ParamID="8" ParamType="LIN" ModifierID="9" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="255"/>
    <Parameter EffectType="Chorus" EffectID="116" ParamID="9" ParamType="INT" ModifierID="255" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    <Parameter EffectType="Delay" EffectID="112" ParamID="0" ParamType="INT" ModifierID="0" Default="0" Minimum="0" Maximum="9" Precision="0" Unit="" NumVals="9" Item0="Digital Mono" Item1="Digital Stereo" Item2="Analog Mono" Item3="Analog Stereo" Item4="Tape" Item5="Ping-Pong" Item6="Dual" Item7="Reverse" Item8="Sweep" Item9="Ducking"/>
    <Parameter EffectType="Delay" EffectID="112" ParamID="1" ParamType="LIN" ModifierID="2" Default="4000.5" Minimum="1" Maximum="8000" Precision="0" Unit="ms" NumVals="255"/>
    <Parameter EffectType="Delay" EffectID="112" ParamID="2" ParamType="INT" ModifierID="0" Default="0" Minimum="0" Maximum="11" Precision="0" Unit="" NumVals="11" Item0="None" Item1="1/64" Item2="1/32" Item3="1/16" Item4="1/8" Item5="1/4" Item6="1/2" Item7="1/1" Item8="1/8 Dot" Item9="1/4 Dot" Item10="1/8 Trip" Item11="1/4 Trip"/>
    <Parameter EffectType="Delay" EffectID="112" ParamID="3" ParamType="LIN" ModifierID="4" Default="0" Minimum="-100" Maximum="100" Precision="1" Unit="%" NumVals="255"/>
    <Parameter EffectType="Delay" EffectID="112" ParamID="4" ParamType="LIN" ModifierID="5" Default="4000.5" Minimum="1" Maximum="8000" Precision="0" Unit="ms" NumVals="255"/>
    <Parameter EffectType="Delay" EffectID="112" ParamID="5" ParamType="LIN" ModifierID="6" Default="0" Minimum="-100" Maximum="100" Precision="0" Unit="%" NumVals="255"/>
    <Parameter EffectType="Delay" EffectID="112" ParamID="6" ParamType="LOG" ModifierID="7" Default="20" Minimum="20" Maximum="2000" Precision="1" Unit="Hz" NumVals="255"/>
    <Parameter EffectType="Delay" EffectID="112" ParamID="7" ParamType="LOG" ModifierID="8" Default="200" Minimum="200" Maximum="20000" Precision="0" Unit="Hz" NumVals="255"/>
    <Parameter EffectType="Delay" EffectID="112" ParamID="8" ParamType="LOG" ModifierID="9" Default="0.1" Minimum="0.1" Maximum="10" Precision="3" Unit="Hz" NumVals="255"/>
    <Parameter EffectType="Delay" EffectID="112" ParamID="9" ParamType="LIN" ModifierID="10" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="255"/>
    <Parameter EffectType="Delay" EffectID="112" ParamID="10" ParamType="LIN" ModifierID="11" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="255"/>
    <Parameter EffectType="Delay" EffectID="112" ParamID="11" ParamType="LIN" ModifierID="12" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="255"/>
    <Parameter EffectType="Delay" EffectID="112" ParamID="12" ParamType="INT" ModifierID="255" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    <Parameter EffectType="Drive" EffectID="133" ParamID="0" ParamType="INT" ModifierID="0" Default="0" Minimum="0" Maximum="9" Precision="0" Unit="" NumVals="9" Item0="Tube Drive" Item1="Screamer" Item2="Rat Distortion" Item3="Fuzz Face" Item4="Big Muff" Item5="Blues Driver" Item6="Timothy" Item7="Centaur" Item8="Treble Boost" Item9="Octave Fuzz"/>
    <Parameter EffectType="Drive" EffectID="133" ParamID="1" ParamType="LIN" ModifierID="2" Default="5" Minimum="0" Maximum="10" Precision="2" Unit="" NumVals="255"/>
    <Parameter EffectType="Drive" EffectID="133" ParamID="2" ParamType="LIN" ModifierID="3" Default="5" Minimum="0" Maximum="10" Precision="2" Unit="" NumVals="255"/>
    <Parameter EffectType="Drive" EffectID="133" ParamID="3" ParamType="LIN" ModifierID="4" Default="5" Minimum="0" Maximum="10" Precision="2" Unit="" NumVals="255"/>
    <Parameter EffectType="Drive" EffectID="133" ParamID="4" ParamType="LOG" ModifierID="5" Default="10" Minimum="10" Maximum="2000" Precision="1" Unit="Hz" NumVals="255"/>
    <Parameter EffectType="Drive" EffectID="133" ParamID="5" ParamType="LOG" ModifierID="6" Default="200" Minimum="200" Maximum="20000" Precision="0" Unit="Hz" NumVals="255"/>
    <Parameter EffectType="Drive" EffectID="133" ParamID="6" ParamType="INT" ModifierID="0" Default="0" Minimum="0" Maximum="4" Precision="0" Unit="" NumVals="4" Item0="Soft" Item1="Hard" Item2="Diode" Item3="LED" Item4="Germanium"/>
    <Parameter EffectType="Drive" EffectID="133" ParamID="7" ParamType="LIN" ModifierID="8" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="255"/>
    <Parameter EffectType="Drive" EffectID="133" ParamID="8" ParamType="LIN" ModifierID="9" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="255"/>
    <Parameter EffectType="Drive" EffectID="133" ParamID="9" ParamType="INT" ModifierID="255" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    <Parameter EffectType="Flanger" EffectID="118" ParamID="0" ParamType="INT" ModifierID="0" Default="0" Minimum="0" Maximum="6" Precision="0" Unit="" NumVals="6" Item0="Digital Mono" Item1="Digital Stereo" Item2="Analog Mono" Item3="Analog Stereo" Item4="Thru-Zero" Item5="Zero Flanger" Item6="Jet"/>
    <Parameter EffectType="Flanger" EffectID="118" ParamID="1" ParamType="LOG" ModifierID="2" Default="0.05" Minimum="0.05" Maximum="10" Precision="3" Unit="Hz" NumVals="255"/>
    <Parameter EffectType="Flanger" EffectID="118" ParamID="2" ParamType="LIN" ModifierID="3" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="255"/>
    <Parameter EffectType="Flanger" EffectID="118" ParamID="3" ParamType="LIN" ModifierID="4" Default="0" Minimum="-100" Maximum="100" Precision="1" Unit="%" NumVals="255"/>
    <Parameter EffectType="Flanger" EffectID="118" ParamID="4" ParamType="LIN" ModifierID="5" Default="5.05" Minimum="0.1" Maximum="10" Precision="2" Unit="ms" NumVals="255"/>
    <Parameter EffectType="Flanger" EffectID="118" ParamID="5" ParamType="INT" ModifierID="0" Default="0" Minimum="0" Maximum="11" Precision="0" Unit="" NumVals="11" Item0="None" Item1="1/64" Item2="1/32" Item3="1/16" Item4="1/8" Item5="1/4" Item6="1/2" Item7="1/1" Item8="1/8 Dot" Item9="1/4 Dot" Item10="1/8 Trip" Item11="1/4 Trip"/>
    <Parameter EffectType="Flanger" EffectID="118" ParamID="6" ParamType="LIN" ModifierID="7" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="255"/>
    <Parameter EffectType="Flanger" EffectID="118" ParamID="7" ParamType="LIN" ModifierID="8" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="255"/>
    <Parameter EffectType="Flanger" EffectID="118" ParamID="8" ParamType="INT" ModifierID="255" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    <Parameter EffectType="Phaser" EffectID="122" ParamID="0" ParamType="INT" ModifierID="0" Default="0" Minimum="0" Maximum="6" Precision="0" Unit="" NumVals="6" Item0="Digital Mono" Item1="Digital Stereo" Item2="Script 45" Item3="Script 90" Item4="Vibe Mono" Item5="Vibe Stereo" Item6="Barberpole"/>
    <Parameter EffectType="Phaser" EffectID="122" ParamID="1" ParamType="INT" ModifierID="2" Default="2" Minimum="2" Maximum="12" Precision="0" Unit="" NumVals="10"/>
    <Parameter EffectType="Phaser" EffectID="122" ParamID="2" ParamType="LOG" ModifierID="3" Default="0.05" Minimum="0.05" Maximum="10" Precision="3" Unit="Hz" NumVals="255"/>
    <Parameter EffectType="Phaser" EffectID="122" ParamID="3" ParamType="LIN" ModifierID="4" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="255"/>
    <Parameter EffectType="Phaser" EffectID="122" ParamID="4" ParamType="LIN" ModifierID="5" Default="0" Minimum="-100" Maximum="100" Precision="1" Unit="%" NumVals="255"/>
    <Parameter EffectType="Phaser" EffectID="122" ParamID="5" ParamType="INT" ModifierID="0" Default="0" Minimum="0" Maximum="11" Precision="0" Unit="" NumVals="11" Item0="None" Item1="1/64" Item2="1/32" Item3="1/16" Item4="1/8" Item5="1/4" Item6="1/2" Item7="1/1" Item8="1/8 Dot" Item9="1/4 Dot" Item10="1/8 Trip" Item11="1/4 Trip"/>
    <Parameter EffectType="Phaser" EffectID="122" ParamID="6" ParamType="LIN" ModifierID="7" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="255"/>
    <Parameter EffectType="Phaser" EffectID="122" ParamID="7" ParamType="LIN" ModifierID="8" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="255"/>
    <Parameter EffectType="Phaser" EffectID="122" ParamID="8" ParamType="INT" ModifierID="255" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    <Parameter EffectType="Tremolo" EffectID="128" ParamID="0" ParamType="INT" ModifierID="0" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Tremolo" Item1="Panner"/>
    <Parameter EffectType="Tremolo" EffectID="128" ParamID="1" ParamType="INT" ModifierID="0" Default="0" Minimum="0" Maximum="7" Precision="0" Unit="" NumVals="7" Item0="Sine" Item1="Triangle" Item2="Square" Item3="Saw Up" Item4="Saw Down" Item5="Random" Item6="Log" Item7="Exp"/>
    <Parameter EffectType="Tremolo" EffectID="128" ParamID="2" ParamType="LOG" ModifierID="3" Default="0.1" Minimum="0.1" Maximum="20" Precision="2" Unit="Hz" NumVals="255"/>
    <Parameter EffectType="Tremolo" EffectID="128" ParamID="3" ParamType="INT" ModifierID="0" Default="0" Minimum="0" Maximum="11" Precision="0" Unit="" NumVals="11" Item0="None" Item1="1/64" Item2="1/32" Item3="1/16" Item4="1/8" Item5="1/4" Item6="1/2" Item7="1/1" Item8="1/8 Dot" Item9="1/4 Dot" Item10="1/8 Trip" Item11="1/4 Trip"/>
    <Parameter EffectType="Tremolo" EffectID="128" ParamID="4" ParamType="LIN" ModifierID="5" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="255"/>
    <Parameter EffectType="Tremolo" EffectID="128" ParamID="5" ParamType="LIN" ModifierID="6" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="255"/>
    <Parameter EffectType="Tremolo" EffectID="128" ParamID="6" ParamType="INT" ModifierID="255" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    <Parameter EffectType="Pitch" EffectID="130" ParamID="0" ParamType="INT" ModifierID="0" Default="0" Minimum="0" Maximum="4" Precision="0" Unit="" NumVals="4" Item0="Detune" Item1="Virtual Capo" Item2="Whammy Up" Item3="Whammy Down" Item4="Octave Divider"/>
    <Parameter EffectType="Pitch" EffectID="130" ParamID="1" ParamType="LIN" ModifierID="2" Default="0" Minimum="-50" Maximum="50" Precision="1" Unit="cents" NumVals="255"/>
    <Parameter EffectType="Pitch" EffectID="130" ParamID="2" ParamType="LIN" ModifierID="3" Default="0" Minimum="-50" Maximum="50" Precision="1" Unit="cents" NumVals="255"/>
    <Parameter EffectType="Pitch" EffectID="130" ParamID="3" ParamType="LIN" ModifierID="4" Default="500" Minimum="0" Maximum="1000" Precision="0" Unit="ms" NumVals="255"/>
    <Parameter EffectType="Pitch" EffectID="130" ParamID="4" ParamType="LIN" ModifierID="5" Default="500" Minimum="0" Maximum="1000" Precision="0" Unit="ms" NumVals="255"/>
    <Parameter EffectType="Pitch" EffectID="130" ParamID="5" ParamType="INT" ModifierID="6" Default="-24" Minimum="-24" Maximum="24" Precision="0" Unit="semitones" NumVals="48"/>
    <Parameter EffectType="Pitch" EffectID="130" ParamID="6" ParamType="LIN" ModifierID="7" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="255"/>
    <Parameter EffectType="Pitch" EffectID="130" ParamID="7" ParamType="LIN" ModifierID="8" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="255"/>
    <Parameter EffectType="Pitch" EffectID="130" ParamID="8" ParamType="INT" ModifierID="255" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    <Parameter EffectType="Volume" EffectID="127" ParamID="0" ParamType="LIN" ModifierID="1" Default="5" Minimum="0" Maximum="10" Precision="1" Unit="" NumVals="255"/>
    <Parameter EffectType="Volume" EffectID="127" ParamID="1" ParamType="INT" ModifierID="0" Default="0" Minimum="0" Maximum="3" Precision="0" Unit="" NumVals="3" Item0="Linear" Item1="Log 20A" Item2="Log 15A" Item3="Log 10A"/>
    <Parameter EffectType="Volume" EffectID="127" ParamID="2" ParamType="LIN" ModifierID="3" Default="0" Minimum="-100" Maximum="100" Precision="0" Unit="" NumVals="255"/>
    <Parameter EffectType="Volume" EffectID="127" ParamID="3" ParamType="LIN" ModifierID="4" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="255"/>
    <Parameter EffectType="Volume" EffectID="127" ParamID="4" ParamType="INT" ModifierID="255" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    <Parameter EffectType="Reverb" EffectID="110" ParamID="0" ParamType="INT" ModifierID="0" Default="0" Minimum="0" Maximum="10" Precision="0" Unit="" NumVals="10" Item0="Small Room" Item1="Medium Room" Item2="Large Room" Item3="Small Hall" Item4="Large Hall" Item5="Small Plate" Item6="Large Plate" Item7="Spring" Item8="Cathedral" Item9="Studio" Item10="Ambience"/>
    <Parameter EffectType="Reverb" EffectID="110" ParamID="1" ParamType="LOG" ModifierID="2" Default="0.1" Minimum="0.1" Maximum="100" Precision="2" Unit="s" NumVals="255"/>
    <Parameter EffectType="Reverb" EffectID="110" ParamID="2" ParamType="LIN" ModifierID="3" Default="125" Minimum="0" Maximum="250" Precision="1" Unit="ms" NumVals="255"/>
    <Parameter EffectType="Reverb" EffectID="110" ParamID="3" ParamType="LIN" ModifierID="4" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="255"/>
    <Parameter EffectType="Reverb" EffectID="110" ParamID="4" ParamType="LIN" ModifierID="5" Default="5" Minimum="0" Maximum="10" Precision="2" Unit="" NumVals="255"/>
    <Parameter EffectType="Reverb" EffectID="110" ParamID="5" ParamType="LOG" ModifierID="6" Default="20" Minimum="20" Maximum="2000" Precision="1" Unit="Hz" NumVals="255"/>
    <Parameter EffectType="Reverb" EffectID="110" ParamID="6" ParamType="LOG" ModifierID="7" Default="200" Minimum="200" Maximum="20000" Precision="0" Unit="Hz" NumVals="255"/>
    <Parameter EffectType="Reverb" EffectID="110" ParamID="7" ParamType="INT" ModifierID="8" Default="2" Minimum="2" Maximum="6" Precision="0" Unit="" NumVals="4"/>
    <Parameter EffectType="Reverb" EffectID="110" ParamID="8" ParamType="LIN" ModifierID="9" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="255"/>
    <Parameter EffectType="Reverb" EffectID="110" ParamID="9" ParamType="LIN" ModifierID="10" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="255"/>
    <Parameter EffectType="Reverb" EffectID="110" ParamID="10" ParamType="INT" ModifierID="255" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    <Parameter EffectType="Wah" EffectID="124" ParamID="0" ParamType="INT" ModifierID="0" Default="0" Minimum="0" Maximum="5" Precision="0" Unit="" NumVals="5" Item0="Fass" Item1="Clyde" Item2="Cry Babe" Item3="Vox V845" Item4="Color-Tone" Item5="Mortal"/>
    <Parameter EffectType="Wah" EffectID="124" ParamID="1" ParamType="LOG" ModifierID="2" Default="100" Minimum="100" Maximum="1000" Precision="0" Unit="Hz" NumVals="255"/>
    <Parameter EffectType="Wah" EffectID="124" ParamID="2" ParamType="LOG" ModifierID="3" Default="500" Minimum="500" Maximum="5000" Precision="0" Unit="Hz" NumVals="255"/>
    <Parameter EffectType="Wah" EffectID="124" ParamID="3" ParamType="LIN" ModifierID="4" Default="5" Minimum="0" Maximum="10" Precision="2" Unit="" NumVals="255"/>
    <Parameter EffectType="Wah" EffectID="124" ParamID="4" ParamType="LIN" ModifierID="5" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="255"/>
    <Parameter EffectType="Wah" EffectID="124" ParamID="5" ParamType="LIN" ModifierID="6" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="255"/>
    <Parameter EffectType="Wah" EffectID="124" ParamID="6" ParamType="INT" ModifierID="255" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    <Parameter EffectType="Gate" EffectID="139" ParamID="0" ParamType="INT" ModifierID="0" Default="0" Minimum="0" Maximum="2" Precision="0" Unit="" NumVals="2" Item0="Classic" Item1="Modern" Item2="Intelligent"/>
    <Parameter EffectType="Gate" EffectID="139" ParamID="1" ParamType="LIN" ModifierID="2" Default="-40" Minimum="-80" Maximum="0" Precision="1" Unit="dB" NumVals="255"/>
    <Parameter EffectType="Gate" EffectID="139" ParamID="2" ParamType="LOG" ModifierID="3" Default="0.1" Minimum="0.1" Maximum="100" Precision="1" Unit="ms" NumVals="255"/>
    <Parameter EffectType="Gate" EffectID="139" ParamID="3" ParamType="LOG" ModifierID="4" Default="1" Minimum="1" Maximum="1000" Precision="0" Unit="ms" NumVals="255"/>
    <Parameter EffectType="Gate" EffectID="139" ParamID="4" ParamType="LIN" ModifierID="5" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="255"/>
    <Parameter EffectType="Gate" EffectID="139" ParamID="5" ParamType="INT" ModifierID="255" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
  </Parameters>
</Profile>
