; The LoROM the emulator tests run: it puts palettes stored at known places in
; the ROM into CGRAM, so a save state taken while it runs can be searched for
; them. Built twice: as it is, and with FADE=1, where every frame writes the
; same colours one or two steps darker per channel, as games do while they
; fade a palette in CGRAM.
;
; CGRAM rows 0 and 1 come from PlantedRows; row 2 is stored as two halves of
; eight colours at separate places, SplitFirst and SplitLast (at an odd
; offset); DecoyRow is row 0 with one colour changed, stored before the real
; one. The tests read these places from the label file ld65 writes.

.p816
.smart +

.ifndef FADE
FADE = 0
.endif

CGRAM_WORDS = 48                 ; rows 0, 1 and 2

.include "Snes.inc"

; The colour of a row's entry, red raised by redBoost: every channel at least
; 3 and every colour of a row different, so a fade of one or two steps
; changes every word.
.macro ROW_WORD row, entry, redBoost
    .word (3 + (entry) + (redBoost)) | ((3 + ((entry) * 7 + (row) * 5) .mod 28) << 5) | ((3 + ((entry) * 3 + (row) * 11) .mod 28) << 10)
.endmacro

.macro ROW_WORDS row, first, count
    .repeat count, index
        ROW_WORD row, first + index, 0
    .endrepeat
.endmacro

.segment "PLANTED"
PlantedRows:
    ROW_WORDS 0, 0, 16
    ROW_WORDS 1, 0, 16

.segment "DECOY"
; Row 0 with colour 5 brighter by 8 in red: more than any fade tolerance.
DecoyRow:
    ROW_WORDS 0, 0, 5
    ROW_WORD 0, 5, 8
    ROW_WORDS 0, 6, 10

.segment "SPLITFIRST"
SplitFirst:
    ROW_WORDS 2, 0, 8

.segment "SPLITLAST"
SplitLast:
    ROW_WORDS 2, 8, 8

.segment "ZEROPAGE"
step:       .res 2
stepGreen:  .res 2
stepBlue:   .res 2
frame:      .res 2
colour:     .res 2
faded:      .res 2

.segment "BSS"
original:   .res CGRAM_WORDS * 2
shown:      .res CGRAM_WORDS * 2

.segment "CODE"

Reset:
    START_IN_FORCED_BLANK
    stz CGADD
    DMA_TO_CGRAM $08, ZeroByte, 512
    stz CGADD
    DMA_TO_CGRAM $00, PlantedRows, 64
    DMA_TO_CGRAM $00, SplitFirst, 16
    DMA_TO_CGRAM $00, SplitLast, 16
.if FADE
    jsr CopyOriginal
.endif
    lda #$0F                     ; display on: the screen shows colour 0
    sta INIDISP
    lda #$80                     ; NMI on before waiting, or some cores hang
    sta NMITIMEN
MainLoop:
    wai
.if FADE
    jsr ShowFaded
    jsr FadeNextFrame
.endif
    bra MainLoop

.if FADE
; The rows as stored, gathered in WRAM in CGRAM order.
CopyOriginal:
    rep #$20
    ldx #0
:   lda f:PlantedRows, x
    sta original, x
    inx
    inx
    cpx #64
    bne :-
    ldx #0
:   lda f:SplitFirst, x
    sta original + 64, x
    lda f:SplitLast, x
    sta original + 80, x
    inx
    inx
    cpx #16
    bne :-
    sep #$20
    rts

; Runs in vertical blank, right after the NMI.
ShowFaded:
    stz CGADD
    DMA_TO_CGRAM $00, shown, CGRAM_WORDS * 2
    rts

; The next frame's colours: one step darker for 8 frames, two for the next 8.
FadeNextFrame:
    rep #$20
    inc frame
    lda frame
    lsr
    lsr
    lsr
    and #$0001
    inc a
    sta step
    asl
    asl
    asl
    asl
    asl
    sta stepGreen
    asl
    asl
    asl
    asl
    asl
    sta stepBlue
    ldx #0
:   lda original, x
    jsr Darken
    sta shown, x
    inx
    inx
    cpx #CGRAM_WORDS * 2
    bne :-
    sep #$20
    rts

; A = colour, each channel lowered by step and stopped at 0. 16-bit A.
.a16
Darken:
    sta colour
    and #$001F
    sec
    sbc step
    bcs :+
    lda #0
:   sta faded
    lda colour
    and #$03E0
    sec
    sbc stepGreen
    bcs :+
    lda #0
:   ora faded
    sta faded
    lda colour
    and #$7C00
    sec
    sbc stepBlue
    bcs :+
    lda #0
:   ora faded
    rts
.endif

; Entered with any register sizes; RTI restores them.
Nmi:
    rep #$20
    pha
    sep #$20
    lda RDNMI                    ; acknowledge
    rep #$20
    pla
    rti

Unused:
    rti

ZeroByte:
    .byte $00

LOROM_HEADER "TINTWRIGHT PALETTES  "
VECTOR_TABLE Reset, Nmi, Unused
