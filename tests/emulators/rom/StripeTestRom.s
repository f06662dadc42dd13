; The LoROM the game preview's tests run: it shows CGRAM on screen, so a
; change of one CGRAM colour changes exactly one known area of the frame.
; BG1 in mode 1 (4bpp) is covered with solid 8×8 tiles: colour c (1..15) of
; palette row r (0..7), CGRAM index 16 * r + c, fills 16 pixels from x =
; 16 * (c - 1) and 24 lines from y = 24 * r; the rest of the screen (x from
; 240, y from 192) is transparent and shows the backdrop, CGRAM index 0.
; tests/emulators/StripeLayout.h says the same in C++.
;
; The eight rows are stored together at StripeRows; the tests read the place
; from the label file ld65 writes. Built twice: as it is, the rows are put
; into CGRAM once at reset; with WRAM=1 they are copied into work RAM once
; and uploaded from there to CGRAM in every vertical blank, as many games do,
; so a change made to CGRAM alone is painted over by the next frame.
;
; With LIVE=1 (and so WRAM=1) it also acts as a game that keeps a row in
; several places, for the tagging run: row 1 is stored as two identical copies,
; LiveCopyA, which reset loads into work RAM, and LiveCopyB, loaded while Start
; is held, beside LiveDecoy, which holds 15 of its 16 colours and is never
; read; StripeRows holds other colours in row 1's place. From frame FADE_FROM
; on, row 2 fades by code in work RAM (its red falls by one a frame), so it
; changes to colours no place holds.

.p816
.smart +

.ifndef LIVE
LIVE = 0
.endif
.ifndef WRAM
WRAM = LIVE
.endif

.include "Snes.inc"

ROW_BYTES = 32
SHOWN_BYTES = 8 * ROW_BYTES        ; rows 0..7, the ones BG1 can use
FADE_FROM = 90                     ; well after the state the tests save at frame 30
HVBJOY = $4212                     ; bit 0 set while the pad is being read
JOY1H = $4219                      ; B Y Select Start Up Down Left Right
JOY_START = $10
TILE_BYTES = 32                    ; 8×8 pixels, 4 bit planes
TILE_WORDS_AT = $1000              ; VRAM word address of BG1's tiles

; Colour i of the eight rows: every word different and none black, so no
; area can pass for another or for an empty frame. Red is i mod 32, blue
; tells the four groups of 32 apart.
.macro STRIPE_WORD index
    .word ((index) .mod 32) | ((((index) * 5 + 7) .mod 32) << 5) | ((3 + ((index) / 32) * 7) << 10)
.endmacro

; Every pixel colour c: each of the four bit planes all ones or all zeros.
; Planes 0 and 1 come interleaved line by line, then planes 2 and 3.
.macro SOLID_TILE colour
    .repeat 8
        .byte ((colour) & 1) * $FF, (((colour) >> 1) & 1) * $FF
    .endrepeat
    .repeat 8
        .byte (((colour) >> 2) & 1) * $FF, (((colour) >> 3) & 1) * $FF
    .endrepeat
.endmacro

.segment "PLANTED"
StripeRows:
    .repeat SHOWN_BYTES / 2, index
        .if LIVE && index >= 16 && index < 32
            STRIPE_WORD index + 128      ; row 1 lives in its copies
        .else
            STRIPE_WORD index
        .endif
    .endrepeat

.if LIVE
    .res ROW_BYTES, $FF
LiveCopyA:
    .repeat 16, colour
        STRIPE_WORD 16 + colour
    .endrepeat
    .res ROW_BYTES, $FF
LiveDecoy:
    .repeat 15, colour
        STRIPE_WORD 16 + colour
    .endrepeat
    STRIPE_WORD 200
    .res ROW_BYTES, $FF
LiveCopyB:
    .repeat 16, colour
        STRIPE_WORD 16 + colour
    .endrepeat
.endif

.segment "CODE"

; Tile c (0..15) is solid colour c; tile 0 is transparent.
SolidTiles:
    .repeat 16, colour
        SOLID_TILE colour
    .endrepeat

; 32×32 entries: tile column x (two per colour) and tile row y (three per
; palette row) within the 30 × 24 tiles that show colours, else tile 0.
StripeMap:
    .repeat 32, tileRow
        .repeat 32, tileColumn
            .if tileColumn < 30 && tileRow < 24
                .word (tileColumn / 2 + 1) | ((tileRow / 3) << 10)
            .else
                .word 0
            .endif
        .endrepeat
    .endrepeat

.if WRAM
.segment "BSS"
palette:    .res SHOWN_BYTES
.endif
.if LIVE
frameCount: .res 2
.endif

.segment "CODE"

Reset:
    START_IN_FORCED_BLANK
    jsr SetUpBackground
    stz CGADD
    DMA_TO_CGRAM $08, ZeroByte, 512
    stz CGADD
.if WRAM
    jsr CopyRowsToWram
    DMA_TO_CGRAM $00, palette, SHOWN_BYTES
.else
    DMA_TO_CGRAM $00, StripeRows, SHOWN_BYTES
.endif
    lda #$0F                     ; display on, full brightness
    sta INIDISP
.if LIVE
    lda #$81                     ; NMI and the pad's automatic read
.else
    lda #$80                     ; NMI on before waiting, or some cores hang
.endif
    sta NMITIMEN
MainLoop:
    wai
    bra MainLoop

; Mode 1 with BG1 alone on the main screen: its map at VRAM word 0, its tiles
; at TILE_WORDS_AT, scrolled by 0 except for one line up, since the PPU
; shows BG line VOFS + 1 on the first line of the frame.
SetUpBackground:
    lda #$01
    sta BGMODE
    stz BG1SC                    ; map at word 0, 32×32 entries
    lda #TILE_WORDS_AT >> 12
    sta BG12NBA
    stz BG1HOFS
    stz BG1HOFS
    lda #$FF
    sta BG1VOFS
    lda #$03
    sta BG1VOFS
    lda #$01
    sta TM
    lda #$80                     ; VRAM address steps after the high byte
    sta VMAIN
    ldx #$0000
    stx VMADDL
    DMA_TO_PPU $01, VMDATAL, StripeMap, 32 * 32 * 2
    ldx #TILE_WORDS_AT
    stx VMADDL
    DMA_TO_PPU $01, VMDATAL, SolidTiles, 16 * TILE_BYTES
    rts

.if WRAM
CopyRowsToWram:
    rep #$20
    ldx #0
:   lda f:StripeRows, x
    sta palette, x
    inx
    inx
    cpx #SHOWN_BYTES
    bne :-
.if LIVE
    ldx #0
:   lda f:LiveCopyA, x
    sta palette + ROW_BYTES, x
    inx
    inx
    cpx #ROW_BYTES
    bne :-
    stz frameCount
.endif
    sep #$20
    rts
.endif

.if LIVE
; Once a frame, after the upload, with A 8 bits and X 16: the fade of row 2,
; and row 1 from its second copy while Start is held.
LiveFrame:
    rep #$20
    inc frameCount
    lda frameCount
    cmp #FADE_FROM
    bcc @pad
    ldx #0
@fade:
    lda palette + 2 * ROW_BYTES, x
    and #$001F
    beq @faded
    dec palette + 2 * ROW_BYTES, x
@faded:
    inx
    inx
    cpx #ROW_BYTES
    bne @fade
@pad:
    sep #$20
    ; The pad is read in the first lines of the vertical blank; until then
    ; JOY1H holds nothing.
:   lda HVBJOY
    and #$01
    bne :-
    lda JOY1H
    and #JOY_START
    beq @done
    rep #$20
    ldx #0
@copy:
    lda f:LiveCopyB, x
    sta palette + ROW_BYTES, x
    inx
    inx
    cpx #ROW_BYTES
    bne @copy
    sep #$20
@done:
    rts
.endif

; Entered with any register sizes; RTI restores them. With WRAM=1 it puts
; the work-RAM copy of the rows into CGRAM while the screen is not drawn.
Nmi:
    rep #$30
    pha
    phx
    sep #$20
    lda RDNMI                    ; acknowledge
.if WRAM
    stz CGADD
    DMA_TO_CGRAM $00, palette, SHOWN_BYTES
.endif
.if LIVE
    jsr LiveFrame
.endif
    rep #$30
    plx
    pla
    rti

Unused:
    rti

ZeroByte:
    .byte $00

LOROM_HEADER "TINTWRIGHT STRIPES   "
VECTOR_TABLE Reset, Nmi, Unused
