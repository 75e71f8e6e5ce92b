<?xml version="1.0" encoding="UTF-8"?>
<!-- Tonalyx sample profile, second generation (device type 3). -->
<Profile Device="Axe-FX II" Version="1">
  <Effects>
    <Effect EffectID="100" TypeID="1" EffectType="Compressor" VariantParamID="0" EffectVariantID="0">
      <Parameter ParamID="0" ParamType="INT" ModifierID="0" BypassParamID="8" Default="0" Minimum="0" Maximum="5" Precision="0" Unit="" NumVals="5" Item0="Studio" Item1="Pedal 1" Item2="Pedal 2" Item3="Dynamics" Item4="Optical" Item5="Tube"/>
      <Parameter ParamID="1" ParamType="LIN" ModifierID="2" BypassParamID="8" Default="-30" Minimum="-60" Maximum="0" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="2" ParamType="LOG" ModifierID="3" BypassParamID="8" Default="1" Minimum="1" Maximum="20" Precision="2" Unit="" NumVals="65534"/>
      <Parameter ParamID="3" ParamType="LOG" ModifierID="4" BypassParamID="8" Default="0.1" Minimum="0.1" Maximum="100" Precision="1" Unit="ms" NumVals="65534"/>
      <Parameter ParamID="4" ParamType="LOG" ModifierID="5" BypassParamID="8" Default="2" Minimum="2" Maximum="2000" Precision="0" Unit="ms" NumVals="65534"/>
      <Parameter ParamID="5" ParamType="INT" ModifierID="0" BypassParamID="8" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Off" Item1="On"/>
      <Parameter ParamID="6" ParamType="LIN" ModifierID="7" BypassParamID="8" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="7" ParamType="LIN" ModifierID="8" BypassParamID="8" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="65534"/>
      <Parameter ParamID="8" ParamType="INT" ModifierID="0" BypassParamID="8" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    </Effect>
    <Effect EffectID="102" TypeID="2" EffectType="GraphicEQ" VariantParamID="0" EffectVariantID="0">
      <Parameter ParamID="0" ParamType="INT" ModifierID="0" BypassParamID="13" Default="0" Minimum="0" Maximum="2" Precision="0" Unit="" NumVals="2" Item0="10 Band Const-Q" Item1="8 Band Var-Q" Item2="5 Band Passive"/>
      <Parameter ParamID="1" ParamType="LIN" ModifierID="2" BypassParamID="13" Default="0" Minimum="-12" Maximum="12" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="2" ParamType="LIN" ModifierID="3" BypassParamID="13" Default="0" Minimum="-12" Maximum="12" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="3" ParamType="LIN" ModifierID="4" BypassParamID="13" Default="0" Minimum="-12" Maximum="12" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="4" ParamType="LIN" ModifierID="5" BypassParamID="13" Default="0" Minimum="-12" Maximum="12" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="5" ParamType="LIN" ModifierID="6" BypassParamID="13" Default="0" Minimum="-12" Maximum="12" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="6" ParamType="LIN" ModifierID="7" BypassParamID="13" Default="0" Minimum="-12" Maximum="12" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="7" ParamType="LIN" ModifierID="8" BypassParamID="13" Default="0" Minimum="-12" Maximum="12" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="8" ParamType="LIN" ModifierID="9" BypassParamID="13" Default="0" Minimum="-12" Maximum="12" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="9" ParamType="LIN" ModifierID="10" BypassParamID="13" Default="0" Minimum="-12" Maximum="12" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="10" ParamType="LIN" ModifierID="11" BypassParamID="13" Default="0" Minimum="-12" Maximum="12" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="11" ParamType="LIN" ModifierID="12" BypassParamID="13" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="12" ParamType="LIN" ModifierID="13" BypassParamID="13" Default="0" Minimum="-100" Maximum="100" Precision="0" Unit="" NumVals="65534"/>
      <Parameter ParamID="13" ParamType="INT" ModifierID="0" BypassParamID="13" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    </Effect>
    <Effect EffectID="104" TypeID="3" EffectType="ParametricEQ" VariantParamID="-1" EffectVariantID="0">
      <Parameter ParamID="0" ParamType="LOG" ModifierID="1" BypassParamID="9" Default="20" Minimum="20" Maximum="2000" Precision="0" Unit="Hz" NumVals="65534"/>
      <Parameter ParamID="1" ParamType="LOG" ModifierID="2" BypassParamID="9" Default="0.1" Minimum="0.1" Maximum="10" Precision="3" Unit="" NumVals="65534"/>
      <Parameter ParamID="2" ParamType="LIN" ModifierID="3" BypassParamID="9" Default="0" Minimum="-12" Maximum="12" Precision="2" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="3" ParamType="LOG" ModifierID="4" BypassParamID="9" Default="100" Minimum="100" Maximum="10000" Precision="0" Unit="Hz" NumVals="65534"/>
      <Parameter ParamID="4" ParamType="LOG" ModifierID="5" BypassParamID="9" Default="0.1" Minimum="0.1" Maximum="10" Precision="3" Unit="" NumVals="65534"/>
      <Parameter ParamID="5" ParamType="LIN" ModifierID="6" BypassParamID="9" Default="0" Minimum="-12" Maximum="12" Precision="2" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="6" ParamType="LOG" ModifierID="7" BypassParamID="9" Default="200" Minimum="200" Maximum="20000" Precision="0" Unit="Hz" NumVals="65534"/>
      <Parameter ParamID="7" ParamType="LIN" ModifierID="8" BypassParamID="9" Default="0" Minimum="-12" Maximum="12" Precision="2" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="8" ParamType="LIN" ModifierID="9" BypassParamID="9" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="9" ParamType="INT" ModifierID="0" BypassParamID="9" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    </Effect>
    <Effect EffectID="131" TypeID="4" EffectType="Filter" VariantParamID="0" EffectVariantID="0">
      <Parameter ParamID="0" ParamType="INT" ModifierID="0" BypassParamID="7" Default="0" Minimum="0" Maximum="8" Precision="0" Unit="" NumVals="8" Item0="Null" Item1="Lowpass" Item2="Bandpass" Item3="Highpass" Item4="Lowshelf" Item5="Highshelf" Item6="Peaking" Item7="Notch" Item8="Tilt EQ"/>
      <Parameter ParamID="1" ParamType="LOG" ModifierID="2" BypassParamID="7" Default="20" Minimum="20" Maximum="20000" Precision="0" Unit="Hz" NumVals="65534"/>
      <Parameter ParamID="2" ParamType="LOG" ModifierID="3" BypassParamID="7" Default="0.1" Minimum="0.1" Maximum="10" Precision="3" Unit="" NumVals="65534"/>
      <Parameter ParamID="3" ParamType="LIN" ModifierID="4" BypassParamID="7" Default="0" Minimum="-24" Maximum="24" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="4" ParamType="INT" ModifierID="0" BypassParamID="7" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="2nd" Item1="4th"/>
      <Parameter ParamID="5" ParamType="LIN" ModifierID="6" BypassParamID="7" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="6" ParamType="LIN" ModifierID="7" BypassParamID="7" Default="0" Minimum="-100" Maximum="100" Precision="0" Unit="" NumVals="65534"/>
      <Parameter ParamID="7" ParamType="INT" ModifierID="0" BypassParamID="7" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    </Effect>
    <Effect EffectID="131" TypeID="4" EffectType="Filter" VariantParamID="0" EffectVariantID="1">
      <Parameter ParamID="0" ParamType="INT" ModifierID="0" BypassParamID="7" Default="0" Minimum="0" Maximum="8" Precision="0" Unit="" NumVals="8" Item0="Null" Item1="Lowpass" Item2="Bandpass" Item3="Highpass" Item4="Lowshelf" Item5="Highshelf" Item6="Peaking" Item7="Notch" Item8="Tilt EQ"/>
      <Parameter ParamID="8" ParamType="LOG" ModifierID="9" BypassParamID="7" Default="0.1" Minimum="0.1" Maximum="10" Precision="3" Unit="Hz" NumVals="65534"/>
      <Parameter ParamID="9" ParamType="LIN" ModifierID="10" BypassParamID="7" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="65534"/>
      <Parameter ParamID="5" ParamType="LIN" ModifierID="6" BypassParamID="7" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="6" ParamType="LIN" ModifierID="7" BypassParamID="7" Default="0" Minimum="-100" Maximum="100" Precision="0" Unit="" NumVals="65534"/>
      <Parameter ParamID="7" ParamType="INT" ModifierID="0" BypassParamID="7" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    </Effect>
    <Effect EffectID="106" TypeID="5" EffectType="Amp" VariantParamID="0" EffectVariantID="0">
      <Parameter ParamID="0" ParamType="INT" ModifierID="0" BypassParamID="16" Default="0" Minimum="0" Maximum="19" Precision="0" Unit="" NumVals="19" Item0="Clean American" Item1="Brit Crunch" Item2="Plexi 50W" Item3="Plexi 100W" Item4="Modern Lead" Item5="Tweed Deluxe" Item6="Blackface Twin" Item7="Class A 30" Item8="Recto Red" Item9="Recto Orange" Item10="Hot Rod Lead" Item11="Jazz 120" Item12="Boutique OD" Item13="Studio Pre" Item14="Bass Tube" Item15="Top Boost" Item16="Brown Sound" Item17="Super Lead" Item18="Double Verb" Item19="Vibro Lux"/>
      <Parameter ParamID="1" ParamType="LIN" ModifierID="2" BypassParamID="16" Default="5" Minimum="0" Maximum="10" Precision="2" Unit="" NumVals="65534"/>
      <Parameter ParamID="2" ParamType="LIN" ModifierID="3" BypassParamID="16" Default="5" Minimum="0" Maximum="10" Precision="2" Unit="" NumVals="65534"/>
      <Parameter ParamID="3" ParamType="LIN" ModifierID="4" BypassParamID="16" Default="5" Minimum="0" Maximum="10" Precision="2" Unit="" NumVals="65534"/>
      <Parameter ParamID="4" ParamType="LIN" ModifierID="5" BypassParamID="16" Default="5" Minimum="0" Maximum="10" Precision="2" Unit="" NumVals="65534"/>
      <Parameter ParamID="5" ParamType="LIN" ModifierID="6" BypassParamID="16" Default="5" Minimum="0" Maximum="10" Precision="2" Unit="" NumVals="65534"/>
      <Parameter ParamID="6" ParamType="LIN" ModifierID="7" BypassParamID="16" Default="5" Minimum="0" Maximum="10" Precision="2" Unit="" NumVals="65534"/>
      <Parameter ParamID="7" ParamType="LIN" ModifierID="8" BypassParamID="16" Default="5" Minimum="0" Maximum="10" Precision="2" Unit="" NumVals="65534"/>
      <Parameter ParamID="8" ParamType="LIN" ModifierID="9" BypassParamID="16" Default="5.05" Minimum="0.1" Maximum="10" Precision="3" Unit="" NumVals="65534"/>
      <Parameter ParamID="9" ParamType="INT" ModifierID="0" BypassParamID="16" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Off" Item1="On"/>
      <Parameter ParamID="10" ParamType="LOG" ModifierID="11" BypassParamID="16" Default="10" Minimum="10" Maximum="2000" Precision="1" Unit="Hz" NumVals="65534"/>
      <Parameter ParamID="11" ParamType="LOG" ModifierID="12" BypassParamID="16" Default="200" Minimum="200" Maximum="20000" Precision="0" Unit="Hz" NumVals="65534"/>
      <Parameter ParamID="12" ParamType="LIN" ModifierID="13" BypassParamID="16" Default="5" Minimum="0" Maximum="10" Precision="2" Unit="" NumVals="65534"/>
      <Parameter ParamID="13" ParamType="LIN" ModifierID="14" BypassParamID="16" Default="0.5" Minimum="0" Maximum="1" Precision="3" Unit="" NumVals="65534"/>
      <Parameter ParamID="14" ParamType="LIN" ModifierID="15" BypassParamID="16" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="15" ParamType="LIN" ModifierID="16" BypassParamID="16" Default="0" Minimum="-100" Maximum="100" Precision="0" Unit="" NumVals="65534"/>
      <Parameter ParamID="16" ParamType="INT" ModifierID="0" BypassParamID="16" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    </Effect>
    <Effect EffectID="108" TypeID="6" EffectType="Cab" VariantParamID="0" EffectVariantID="0">
      <Parameter ParamID="0" ParamType="INT" ModifierID="0" BypassParamID="10" Default="0" Minimum="0" Maximum="13" Precision="0" Unit="" NumVals="13" Item0="1x12 Open Back" Item1="1x12 Closed" Item2="2x12 Blue" Item3="2x12 Jazz" Item4="4x10 Bassman" Item5="4x12 Green 25" Item6="4x12 Vintage 30" Item7="4x12 Recto" Item8="4x12 Basketweave" Item9="1x15 Bass" Item10="2x10 Vibro" Item11="4x12 Greenback" Item12="1x8 Practice" Item13="Null"/>
      <Parameter ParamID="1" ParamType="INT" ModifierID="0" BypassParamID="10" Default="0" Minimum="0" Maximum="6" Precision="0" Unit="" NumVals="6" Item0="None" Item1="Dyn 57" Item2="Dyn 421" Item3="Cond 87" Item4="Ribbon 121" Item5="Ribbon 160" Item6="Cond 414"/>
      <Parameter ParamID="2" ParamType="LIN" ModifierID="3" BypassParamID="10" Default="5" Minimum="0" Maximum="10" Precision="2" Unit="" NumVals="65534"/>
      <Parameter ParamID="3" ParamType="LIN" ModifierID="4" BypassParamID="10" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="65534"/>
      <Parameter ParamID="4" ParamType="LIN" ModifierID="5" BypassParamID="10" Default="5" Minimum="0" Maximum="10" Precision="2" Unit="" NumVals="65534"/>
      <Parameter ParamID="5" ParamType="LOG" ModifierID="6" BypassParamID="10" Default="20" Minimum="20" Maximum="2000" Precision="1" Unit="Hz" NumVals="65534"/>
      <Parameter ParamID="6" ParamType="LOG" ModifierID="7" BypassParamID="10" Default="200" Minimum="200" Maximum="20000" Precision="0" Unit="Hz" NumVals="65534"/>
      <Parameter ParamID="7" ParamType="INT" ModifierID="0" BypassParamID="10" Default="0" Minimum="0" Maximum="3" Precision="0" Unit="" NumVals="3" Item0="None" Item1="Tube" Item2="Solid State" Item3="Vintage"/>
      <Parameter ParamID="8" ParamType="LIN" ModifierID="9" BypassParamID="10" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="9" ParamType="LIN" ModifierID="10" BypassParamID="10" Default="0" Minimum="-100" Maximum="100" Precision="0" Unit="" NumVals="65534"/>
      <Parameter ParamID="10" ParamType="INT" ModifierID="0" BypassParamID="10" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    </Effect>
    <Effect EffectID="116" TypeID="7" EffectType="Chorus" VariantParamID="0" EffectVariantID="0">
      <Parameter ParamID="0" ParamType="INT" ModifierID="0" BypassParamID="9" Default="0" Minimum="0" Maximum="7" Precision="0" Unit="" NumVals="7" Item0="Digital Mono" Item1="Digital Stereo" Item2="Analog Mono" Item3="Analog Stereo" Item4="Japan CE-2" Item5="Triangle" Item6="8-Voice" Item7="Vibrato"/>
      <Parameter ParamID="1" ParamType="INT" ModifierID="2" BypassParamID="9" Default="2" Minimum="2" Maximum="8" Precision="0" Unit="" NumVals="6"/>
      <Parameter ParamID="2" ParamType="LOG" ModifierID="3" BypassParamID="9" Default="0.1" Minimum="0.1" Maximum="10" Precision="3" Unit="Hz" NumVals="65534"/>
      <Parameter ParamID="3" ParamType="LIN" ModifierID="4" BypassParamID="9" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="65534"/>
      <Parameter ParamID="4" ParamType="INT" ModifierID="0" BypassParamID="9" Default="0" Minimum="0" Maximum="11" Precision="0" Unit="" NumVals="11" Item0="None" Item1="1/64" Item2="1/32" Item3="1/16" Item4="1/8" Item5="1/4" Item6="1/2" Item7="1/1" Item8="1/8 Dot" Item9="1/4 Dot" Item10="1/8 Trip" Item11="1/4 Trip"/>
      <Parameter ParamID="5" ParamType="LIN" ModifierID="6" BypassParamID="9" Default="25.05" Minimum="0.1" Maximum="50" Precision="2" Unit="ms" NumVals="65534"/>
      <Parameter ParamID="6" ParamType="INT" ModifierID="0" BypassParamID="9" Default="0" Minimum="0" Maximum="7" Precision="0" Unit="" NumVals="7" Item0="Sine" Item1="Triangle" Item2="Square" Item3="Saw Up" Item4="Saw Down" Item5="Random" Item6="Log" Item7="Exp"/>
      <Parameter ParamID="7" ParamType="LIN" ModifierID="8" BypassParamID="9" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="65534"/>
      <Parameter ParamID="8" ParamType="LIN" ModifierID="9" BypassParamID="9" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="9" ParamType="INT" ModifierID="0" BypassParamID="9" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    </Effect>
    <Effect EffectID="112" TypeID="8" EffectType="Delay" VariantParamID="0" EffectVariantID="0">
      <Parameter ParamID="0" ParamType="INT" ModifierID="0" BypassParamID="12" Default="0" Minimum="0" Maximum="9" Precision="0" Unit="" NumVals="9" Item0="Digital Mono" Item1="Digital Stereo" Item2="Analog Mono" Item3="Analog Stereo" Item4="Tape" Item5="Ping-Pong" Item6="Dual" Item7="Reverse" Item8="Sweep" Item9="Ducking"/>
      <Parameter ParamID="1" ParamType="LIN" ModifierID="2" BypassParamID="12" Default="4000.5" Minimum="1" Maximum="8000" Precision="0" Unit="ms" NumVals="65534"/>
      <Parameter ParamID="2" ParamType="INT" ModifierID="0" BypassParamID="12" Default="0" Minimum="0" Maximum="11" Precision="0" Unit="" NumVals="11" Item0="None" Item1="1/64" Item2="1/32" Item3="1/16" Item4="1/8" Item5="1/4" Item6="1/2" Item7="1/1" Item8="1/8 Dot" Item9="1/4 Dot" Item10="1/8 Trip" Item11="1/4 Trip"/>
      <Parameter ParamID="3" ParamType="LIN" ModifierID="4" BypassParamID="12" Default="0" Minimum="-100" Maximum="100" Precision="1" Unit="%" NumVals="65534"/>
      <Parameter ParamID="4" ParamType="LIN" ModifierID="5" BypassParamID="12" Default="4000.5" Minimum="1" Maximum="8000" Precision="0" Unit="ms" NumVals="65534"/>
      <Parameter ParamID="5" ParamType="LIN" ModifierID="6" BypassParamID="12" Default="0" Minimum="-100" Maximum="100" Precision="0" Unit="%" NumVals="65534"/>
      <Parameter ParamID="6" ParamType="LOG" ModifierID="7" BypassParamID="12" Default="20" Minimum="20" Maximum="2000" Precision="1" Unit="Hz" NumVals="65534"/>
      <Parameter ParamID="7" ParamType="LOG" ModifierID="8" BypassParamID="12" Default="200" Minimum="200" Maximum="20000" Precision="0" Unit="Hz" NumVals="65534"/>
      <Parameter ParamID="8" ParamType="LOG" ModifierID="9" BypassParamID="12" Default="0.1" Minimum="0.1" Maximum="10" Precision="3" Unit="Hz" NumVals="65534"/>
      <Parameter ParamID="9" ParamType="LIN" ModifierID="10" BypassParamID="12" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="65534"/>
      <Parameter ParamID="10" ParamType="LIN" ModifierID="11" BypassParamID="12" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="65534"/>
      <Parameter ParamID="11" ParamType="LIN" ModifierID="12" BypassParamID="12" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="12" ParamType="INT" ModifierID="0" BypassParamID="12" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    </Effect>
    <Effect EffectID="135" TypeID="9" EffectType="Enhancer" VariantParamID="0" EffectVariantID="0">
      <Parameter ParamID="0" ParamType="INT" ModifierID="0" BypassParamID="5" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Modern" Item1="Classic Stereo"/>
      <Parameter ParamID="1" ParamType="LIN" ModifierID="2" BypassParamID="5" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="65534"/>
      <Parameter ParamID="2" ParamType="LIN" ModifierID="3" BypassParamID="5" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="65534"/>
      <Parameter ParamID="3" ParamType="LIN" ModifierID="4" BypassParamID="5" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="4" ParamType="LIN" ModifierID="5" BypassParamID="5" Default="0" Minimum="-100" Maximum="100" Precision="0" Unit="" NumVals="65534"/>
      <Parameter ParamID="5" ParamType="INT" ModifierID="0" BypassParamID="5" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    </Effect>
    <Effect EffectID="133" TypeID="10" EffectType="Drive" VariantParamID="0" EffectVariantID="0">
      <Parameter ParamID="0" ParamType="INT" ModifierID="0" BypassParamID="9" Default="0" Minimum="0" Maximum="9" Precision="0" Unit="" NumVals="9" Item0="Tube Drive" Item1="Screamer" Item2="Rat Distortion" Item3="Fuzz Face" Item4="Big Muff" Item5="Blues Driver" Item6="Timothy" Item7="Centaur" Item8="Treble Boost" Item9="Octave Fuzz"/>
      <Parameter ParamID="1" ParamType="LIN" ModifierID="2" BypassParamID="9" Default="5" Minimum="0" Maximum="10" Precision="2" Unit="" NumVals="65534"/>
      <Parameter ParamID="2" ParamType="LIN" ModifierID="3" BypassParamID="9" Default="5" Minimum="0" Maximum="10" Precision="2" Unit="" NumVals="65534"/>
      <Parameter ParamID="3" ParamType="LIN" ModifierID="4" BypassParamID="9" Default="5" Minimum="0" Maximum="10" Precision="2" Unit="" NumVals="65534"/>
      <Parameter ParamID="4" ParamType="LOG" ModifierID="5" BypassParamID="9" Default="10" Minimum="10" Maximum="2000" Precision="1" Unit="Hz" NumVals="65534"/>
      <Parameter ParamID="5" ParamType="LOG" ModifierID="6" BypassParamID="9" Default="200" Minimum="200" Maximum="20000" Precision="0" Unit="Hz" NumVals="65534"/>
      <Parameter ParamID="6" ParamType="INT" ModifierID="0" BypassParamID="9" Default="0" Minimum="0" Maximum="4" Precision="0" Unit="" NumVals="4" Item0="Soft" Item1="Hard" Item2="Diode" Item3="LED" Item4="Germanium"/>
      <Parameter ParamID="7" ParamType="LIN" ModifierID="8" BypassParamID="9" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="65534"/>
      <Parameter ParamID="8" ParamType="LIN" ModifierID="9" BypassParamID="9" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="9" ParamType="INT" ModifierID="0" BypassParamID="9" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    </Effect>
    <Effect EffectID="118" TypeID="11" EffectType="Flanger" VariantParamID="0" EffectVariantID="0">
      <Parameter ParamID="0" ParamType="INT" ModifierID="0" BypassParamID="8" Default="0" Minimum="0" Maximum="6" Precision="0" Unit="" NumVals="6" Item0="Digital Mono" Item1="Digital Stereo" Item2="Analog Mono" Item3="Analog Stereo" Item4="Thru-Zero" Item5="Zero Flanger" Item6="Jet"/>
      <Parameter ParamID="1" ParamType="LOG" ModifierID="2" BypassParamID="8" Default="0.05" Minimum="0.05" Maximum="10" Precision="3" Unit="Hz" NumVals="65534"/>
      <Parameter ParamID="2" ParamType="LIN" ModifierID="3" BypassParamID="8" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="65534"/>
      <Parameter ParamID="3" ParamType="LIN" ModifierID="4" BypassParamID="8" Default="0" Minimum="-100" Maximum="100" Precision="1" Unit="%" NumVals="65534"/>
      <Parameter ParamID="4" ParamType="LIN" ModifierID="5" BypassParamID="8" Default="5.05" Minimum="0.1" Maximum="10" Precision="2" Unit="ms" NumVals="65534"/>
      <Parameter ParamID="5" ParamType="INT" ModifierID="0" BypassParamID="8" Default="0" Minimum="0" Maximum="11" Precision="0" Unit="" NumVals="11" Item0="None" Item1="1/64" Item2="1/32" Item3="1/16" Item4="1/8" Item5="1/4" Item6="1/2" Item7="1/1" Item8="1/8 Dot" Item9="1/4 Dot" Item10="1/8 Trip" Item11="1/4 Trip"/>
      <Parameter ParamID="6" ParamType="LIN" ModifierID="7" BypassParamID="8" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="65534"/>
      <Parameter ParamID="7" ParamType="LIN" ModifierID="8" BypassParamID="8" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="8" ParamType="INT" ModifierID="0" BypassParamID="8" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    </Effect>
    <Effect EffectID="126" TypeID="12" EffectType="Formant" VariantParamID="0" EffectVariantID="0">
      <Parameter ParamID="0" ParamType="INT" ModifierID="0" BypassParamID="6" Default="0" Minimum="0" Maximum="4" Precision="0" Unit="" NumVals="4" Item0="A" Item1="E" Item2="I" Item3="O" Item4="U"/>
      <Parameter ParamID="1" ParamType="INT" ModifierID="0" BypassParamID="6" Default="0" Minimum="0" Maximum="4" Precision="0" Unit="" NumVals="4" Item0="A" Item1="E" Item2="I" Item3="O" Item4="U"/>
      <Parameter ParamID="2" ParamType="INT" ModifierID="0" BypassParamID="6" Default="0" Minimum="0" Maximum="4" Precision="0" Unit="" NumVals="4" Item0="A" Item1="E" Item2="I" Item3="O" Item4="U"/>
      <Parameter ParamID="3" ParamType="LIN" ModifierID="4" BypassParamID="6" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="65534"/>
      <Parameter ParamID="4" ParamType="LIN" ModifierID="5" BypassParamID="6" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="65534"/>
      <Parameter ParamID="5" ParamType="LIN" ModifierID="6" BypassParamID="6" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="6" ParamType="INT" ModifierID="0" BypassParamID="6" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    </Effect>
    <Effect EffectID="114" TypeID="13" EffectType="MultiDelay" VariantParamID="0" EffectVariantID="0">
      <Parameter ParamID="0" ParamType="INT" ModifierID="0" BypassParamID="9" Default="0" Minimum="0" Maximum="5" Precision="0" Unit="" NumVals="5" Item0="Quad Tap" Item1="Plex Delay" Item2="Band Delay" Item3="Rhythm Tap" Item4="Diffuser" Item5="Quad Series"/>
      <Parameter ParamID="1" ParamType="LIN" ModifierID="2" BypassParamID="9" Default="2000.5" Minimum="1" Maximum="4000" Precision="0" Unit="ms" NumVals="65534"/>
      <Parameter ParamID="2" ParamType="LIN" ModifierID="3" BypassParamID="9" Default="2000.5" Minimum="1" Maximum="4000" Precision="0" Unit="ms" NumVals="65534"/>
      <Parameter ParamID="3" ParamType="LIN" ModifierID="4" BypassParamID="9" Default="2000.5" Minimum="1" Maximum="4000" Precision="0" Unit="ms" NumVals="65534"/>
      <Parameter ParamID="4" ParamType="LIN" ModifierID="5" BypassParamID="9" Default="2000.5" Minimum="1" Maximum="4000" Precision="0" Unit="ms" NumVals="65534"/>
      <Parameter ParamID="5" ParamType="LIN" ModifierID="6" BypassParamID="9" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="65534"/>
      <Parameter ParamID="6" ParamType="LIN" ModifierID="7" BypassParamID="9" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="65534"/>
      <Parameter ParamID="7" ParamType="LIN" ModifierID="8" BypassParamID="9" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="65534"/>
      <Parameter ParamID="8" ParamType="LIN" ModifierID="9" BypassParamID="9" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="9" ParamType="INT" ModifierID="0" BypassParamID="9" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    </Effect>
    <Effect EffectID="122" TypeID="14" EffectType="Phaser" VariantParamID="0" EffectVariantID="0">
      <Parameter ParamID="0" ParamType="INT" ModifierID="0" BypassParamID="8" Default="0" Minimum="0" Maximum="6" Precision="0" Unit="" NumVals="6" Item0="Digital Mono" Item1="Digital Stereo" Item2="Script 45" Item3="Script 90" Item4="Vibe Mono" Item5="Vibe Stereo" Item6="Barberpole"/>
      <Parameter ParamID="1" ParamType="INT" ModifierID="2" BypassParamID="8" Default="2" Minimum="2" Maximum="12" Precision="0" Unit="" NumVals="10"/>
      <Parameter ParamID="2" ParamType="LOG" ModifierID="3" BypassParamID="8" Default="0.05" Minimum="0.05" Maximum="10" Precision="3" Unit="Hz" NumVals="65534"/>
      <Parameter ParamID="3" ParamType="LIN" ModifierID="4" BypassParamID="8" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="65534"/>
      <Parameter ParamID="4" ParamType="LIN" ModifierID="5" BypassParamID="8" Default="0" Minimum="-100" Maximum="100" Precision="1" Unit="%" NumVals="65534"/>
      <Parameter ParamID="5" ParamType="INT" ModifierID="0" BypassParamID="8" Default="0" Minimum="0" Maximum="11" Precision="0" Unit="" NumVals="11" Item0="None" Item1="1/64" Item2="1/32" Item3="1/16" Item4="1/8" Item5="1/4" Item6="1/2" Item7="1/1" Item8="1/8 Dot" Item9="1/4 Dot" Item10="1/8 Trip" Item11="1/4 Trip"/>
      <Parameter ParamID="6" ParamType="LIN" ModifierID="7" BypassParamID="8" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="65534"/>
      <Parameter ParamID="7" ParamType="LIN" ModifierID="8" BypassParamID="8" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="8" ParamType="INT" ModifierID="0" BypassParamID="8" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    </Effect>
    <Effect EffectID="120" TypeID="15" EffectType="Rotary" VariantParamID="0" EffectVariantID="0">
      <Parameter ParamID="0" ParamType="INT" ModifierID="0" BypassParamID="7" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Slow" Item1="Fast"/>
      <Parameter ParamID="1" ParamType="LIN" ModifierID="2" BypassParamID="7" Default="5.05" Minimum="0.1" Maximum="10" Precision="2" Unit="Hz" NumVals="65534"/>
      <Parameter ParamID="2" ParamType="LIN" ModifierID="3" BypassParamID="7" Default="5.05" Minimum="0.1" Maximum="10" Precision="2" Unit="Hz" NumVals="65534"/>
      <Parameter ParamID="3" ParamType="LIN" ModifierID="4" BypassParamID="7" Default="5" Minimum="0" Maximum="10" Precision="2" Unit="" NumVals="65534"/>
      <Parameter ParamID="4" ParamType="LIN" ModifierID="5" BypassParamID="7" Default="50" Minimum="0" Maximum="100" Precision="0" Unit="%" NumVals="65534"/>
      <Parameter ParamID="5" ParamType="LIN" ModifierID="6" BypassParamID="7" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="65534"/>
      <Parameter ParamID="6" ParamType="LIN" ModifierID="7" BypassParamID="7" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="7" ParamType="INT" ModifierID="0" BypassParamID="7" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    </Effect>
    <Effect EffectID="128" TypeID="16" EffectType="Tremolo" VariantParamID="0" EffectVariantID="0">
      <Parameter ParamID="0" ParamType="INT" ModifierID="0" BypassParamID="6" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Tremolo" Item1="Panner"/>
      <Parameter ParamID="1" ParamType="INT" ModifierID="0" BypassParamID="6" Default="0" Minimum="0" Maximum="7" Precision="0" Unit="" NumVals="7" Item0="Sine" Item1="Triangle" Item2="Square" Item3="Saw Up" Item4="Saw Down" Item5="Random" Item6="Log" Item7="Exp"/>
      <Parameter ParamID="2" ParamType="LOG" ModifierID="3" BypassParamID="6" Default="0.1" Minimum="0.1" Maximum="20" Precision="2" Unit="Hz" NumVals="65534"/>
      <Parameter ParamID="3" ParamType="INT" ModifierID="0" BypassParamID="6" Default="0" Minimum="0" Maximum="11" Precision="0" Unit="" NumVals="11" Item0="None" Item1="1/64" Item2="1/32" Item3="1/16" Item4="1/8" Item5="1/4" Item6="1/2" Item7="1/1" Item8="1/8 Dot" Item9="1/4 Dot" Item10="1/8 Trip" Item11="1/4 Trip"/>
      <Parameter ParamID="4" ParamType="LIN" ModifierID="5" BypassParamID="6" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="65534"/>
      <Parameter ParamID="5" ParamType="LIN" ModifierID="6" BypassParamID="6" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="6" ParamType="INT" ModifierID="0" BypassParamID="6" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    </Effect>
    <Effect EffectID="130" TypeID="17" EffectType="Pitch" VariantParamID="0" EffectVariantID="0">
      <Parameter ParamID="0" ParamType="INT" ModifierID="0" BypassParamID="8" Default="0" Minimum="0" Maximum="4" Precision="0" Unit="" NumVals="4" Item0="Detune" Item1="Virtual Capo" Item2="Whammy Up" Item3="Whammy Down" Item4="Octave Divider"/>
      <Parameter ParamID="1" ParamType="LIN" ModifierID="2" BypassParamID="8" Default="0" Minimum="-50" Maximum="50" Precision="1" Unit="cents" NumVals="65534"/>
      <Parameter ParamID="2" ParamType="LIN" ModifierID="3" BypassParamID="8" Default="0" Minimum="-50" Maximum="50" Precision="1" Unit="cents" NumVals="65534"/>
      <Parameter ParamID="3" ParamType="LIN" ModifierID="4" BypassParamID="8" Default="500" Minimum="0" Maximum="1000" Precision="0" Unit="ms" NumVals="65534"/>
      <Parameter ParamID="4" ParamType="LIN" ModifierID="5" BypassParamID="8" Default="500" Minimum="0" Maximum="1000" Precision="0" Unit="ms" NumVals="65534"/>
      <Parameter ParamID="5" ParamType="INT" ModifierID="6" BypassParamID="8" Default="-24" Minimum="-24" Maximum="24" Precision="0" Unit="semitones" NumVals="48"/>
      <Parameter ParamID="6" ParamType="LIN" ModifierID="7" BypassParamID="8" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="65534"/>
      <Parameter ParamID="7" ParamType="LIN" ModifierID="8" BypassParamID="8" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="8" ParamType="INT" ModifierID="0" BypassParamID="8" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    </Effect>
    <Effect EffectID="130" TypeID="17" EffectType="Pitch" VariantParamID="0" EffectVariantID="1">
      <Parameter ParamID="0" ParamType="INT" ModifierID="0" BypassParamID="8" Default="0" Minimum="0" Maximum="4" Precision="0" Unit="" NumVals="4" Item0="Detune" Item1="Virtual Capo" Item2="Whammy Up" Item3="Whammy Down" Item4="Octave Divider"/>
      <Parameter ParamID="9" ParamType="LIN" ModifierID="10" BypassParamID="8" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="65534"/>
      <Parameter ParamID="10" ParamType="INT" ModifierID="11" BypassParamID="8" Default="-24" Minimum="-24" Maximum="24" Precision="0" Unit="semitones" NumVals="48"/>
      <Parameter ParamID="11" ParamType="INT" ModifierID="12" BypassParamID="8" Default="-24" Minimum="-24" Maximum="24" Precision="0" Unit="semitones" NumVals="48"/>
      <Parameter ParamID="12" ParamType="INT" ModifierID="0" BypassParamID="8" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Poly" Item1="Mono"/>
      <Parameter ParamID="13" ParamType="LIN" ModifierID="14" BypassParamID="8" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="65534"/>
      <Parameter ParamID="6" ParamType="LIN" ModifierID="7" BypassParamID="8" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="65534"/>
      <Parameter ParamID="7" ParamType="LIN" ModifierID="8" BypassParamID="8" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="8" ParamType="INT" ModifierID="0" BypassParamID="8" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    </Effect>
    <Effect EffectID="127" TypeID="18" EffectType="Volume" VariantParamID="-1" EffectVariantID="0">
      <Parameter ParamID="0" ParamType="LIN" ModifierID="1" BypassParamID="4" Default="5" Minimum="0" Maximum="10" Precision="1" Unit="" NumVals="65534"/>
      <Parameter ParamID="1" ParamType="INT" ModifierID="0" BypassParamID="4" Default="0" Minimum="0" Maximum="3" Precision="0" Unit="" NumVals="3" Item0="Linear" Item1="Log 20A" Item2="Log 15A" Item3="Log 10A"/>
      <Parameter ParamID="2" ParamType="LIN" ModifierID="3" BypassParamID="4" Default="0" Minimum="-100" Maximum="100" Precision="0" Unit="" NumVals="65534"/>
      <Parameter ParamID="3" ParamType="LIN" ModifierID="4" BypassParamID="4" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="4" ParamType="INT" ModifierID="0" BypassParamID="4" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    </Effect>
    <Effect EffectID="110" TypeID="19" EffectType="Reverb" VariantParamID="0" EffectVariantID="0">
      <Parameter ParamID="0" ParamType="INT" ModifierID="0" BypassParamID="10" Default="0" Minimum="0" Maximum="10" Precision="0" Unit="" NumVals="10" Item0="Small Room" Item1="Medium Room" Item2="Large Room" Item3="Small Hall" Item4="Large Hall" Item5="Small Plate" Item6="Large Plate" Item7="Spring" Item8="Cathedral" Item9="Studio" Item10="Ambience"/>
      <Parameter ParamID="1" ParamType="LOG" ModifierID="2" BypassParamID="10" Default="0.1" Minimum="0.1" Maximum="100" Precision="2" Unit="s" NumVals="65534"/>
      <Parameter ParamID="2" ParamType="LIN" ModifierID="3" BypassParamID="10" Default="125" Minimum="0" Maximum="250" Precision="1" Unit="ms" NumVals="65534"/>
      <Parameter ParamID="3" ParamType="LIN" ModifierID="4" BypassParamID="10" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="65534"/>
      <Parameter ParamID="4" ParamType="LIN" ModifierID="5" BypassParamID="10" Default="5" Minimum="0" Maximum="10" Precision="2" Unit="" NumVals="65534"/>
      <Parameter ParamID="5" ParamType="LOG" ModifierID="6" BypassParamID="10" Default="20" Minimum="20" Maximum="2000" Precision="1" Unit="Hz" NumVals="65534"/>
      <Parameter ParamID="6" ParamType="LOG" ModifierID="7" BypassParamID="10" Default="200" Minimum="200" Maximum="20000" Precision="0" Unit="Hz" NumVals="65534"/>
      <Parameter ParamID="7" ParamType="INT" ModifierID="8" BypassParamID="10" Default="2" Minimum="2" Maximum="6" Precision="0" Unit="" NumVals="4"/>
      <Parameter ParamID="8" ParamType="LIN" ModifierID="9" BypassParamID="10" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="65534"/>
      <Parameter ParamID="9" ParamType="LIN" ModifierID="10" BypassParamID="10" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="10" ParamType="INT" ModifierID="0" BypassParamID="10" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    </Effect>
    <Effect EffectID="124" TypeID="20" EffectType="Wah" VariantParamID="0" EffectVariantID="0">
      <Parameter ParamID="0" ParamType="INT" ModifierID="0" BypassParamID="6" Default="0" Minimum="0" Maximum="5" Precision="0" Unit="" NumVals="5" Item0="Fass" Item1="Clyde" Item2="Cry Babe" Item3="Vox V845" Item4="Color-Tone" Item5="Mortal"/>
      <Parameter ParamID="1" ParamType="LOG" ModifierID="2" BypassParamID="6" Default="100" Minimum="100" Maximum="1000" Precision="0" Unit="Hz" NumVals="65534"/>
      <Parameter ParamID="2" ParamType="LOG" ModifierID="3" BypassParamID="6" Default="500" Minimum="500" Maximum="5000" Precision="0" Unit="Hz" NumVals="65534"/>
      <Parameter ParamID="3" ParamType="LIN" ModifierID="4" BypassParamID="6" Default="5" Minimum="0" Maximum="10" Precision="2" Unit="" NumVals="65534"/>
      <Parameter ParamID="4" ParamType="LIN" ModifierID="5" BypassParamID="6" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="65534"/>
      <Parameter ParamID="5" ParamType="LIN" ModifierID="6" BypassParamID="6" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="6" ParamType="INT" ModifierID="0" BypassParamID="6" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    </Effect>
    <Effect EffectID="137" TypeID="21" EffectType="Mixer" VariantParamID="-1" EffectVariantID="0">
      <Parameter ParamID="0" ParamType="LIN" ModifierID="1" BypassParamID="6" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="1" ParamType="LIN" ModifierID="2" BypassParamID="6" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="2" ParamType="LIN" ModifierID="3" BypassParamID="6" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="3" ParamType="LIN" ModifierID="4" BypassParamID="6" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="4" ParamType="INT" ModifierID="0" BypassParamID="6" Default="0" Minimum="0" Maximum="3" Precision="0" Unit="" NumVals="3" Item0="Stereo" Item1="Mono L" Item2="Mono R" Item3="Sum"/>
      <Parameter ParamID="5" ParamType="LIN" ModifierID="6" BypassParamID="6" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="6" ParamType="INT" ModifierID="0" BypassParamID="6" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    </Effect>
    <Effect EffectID="139" TypeID="22" EffectType="Gate" VariantParamID="0" EffectVariantID="0">
      <Parameter ParamID="0" ParamType="INT" ModifierID="0" BypassParamID="5" Default="0" Minimum="0" Maximum="2" Precision="0" Unit="" NumVals="2" Item0="Classic" Item1="Modern" Item2="Intelligent"/>
      <Parameter ParamID="1" ParamType="LIN" ModifierID="2" BypassParamID="5" Default="-40" Minimum="-80" Maximum="0" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="2" ParamType="LOG" ModifierID="3" BypassParamID="5" Default="0.1" Minimum="0.1" Maximum="100" Precision="1" Unit="ms" NumVals="65534"/>
      <Parameter ParamID="3" ParamType="LOG" ModifierID="4" BypassParamID="5" Default="1" Minimum="1" Maximum="1000" Precision="0" Unit="ms" NumVals="65534"/>
      <Parameter ParamID="4" ParamType="LIN" ModifierID="5" BypassParamID="5" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="5" ParamType="INT" ModifierID="0" BypassParamID="5" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    </Effect>
    <Effect EffectID="136" TypeID="23" EffectType="Loop" VariantParamID="-1" EffectVariantID="0">
      <Parameter ParamID="0" ParamType="LIN" ModifierID="1" BypassParamID="3" Default="-30" Minimum="-80" Maximum="20" Precision="1" Unit="dB" NumVals="65534"/>
      <Parameter ParamID="1" ParamType="INT" ModifierID="0" BypassParamID="3" Default="0" Minimum="0" Maximum="3" Precision="0" Unit="" NumVals="3" Item0="Stereo" Item1="Mono" Item2="Series" Item3="Parallel"/>
      <Parameter ParamID="2" ParamType="LIN" ModifierID="3" BypassParamID="3" Default="50" Minimum="0" Maximum="100" Precision="1" Unit="%" NumVals="65534"/>
      <Parameter ParamID="3" ParamType="INT" ModifierID="0" BypassParamID="3" Default="0" Minimum="0" Maximum="1" Precision="0" Unit="" NumVals="1" Item0="Active" Item1="Bypassed"/>
    </Effect>
  </Effects>
</Profile>
