#!/usr/bin/env python3
"""Draws the installer's skin pictures as PNG files with alpha into OUTPUT_DIR.

Embedded by Install.exe:
  banner.png                      600 x 420  dark banner (logo, product name, slogan) over rows 0-254, white below
  banner_done.png                 600 x 420  the same banner with a check badge and 安装成功
  install_{normal,hover,pressed}  200 x 40   blue pill faces with 极速安装 (normal, lighter, darker)
  browse.png                      40 x 25    folder button
  launch_{normal,hover,pressed}   200 x 40   blue pill faces with 立即体验
Members of the UI archive:
  retry_{normal,hover,pressed}    160 x 36   blank pill faces for the retry button (its text comes from the layout)

Everything is drawn at SCALE times the final size and reduced, which anti-aliases every edge and glyph.
Text uses WenQuanYi Micro Hei. The output is the same on every run. Usage: make-skin-pictures.py OUTPUT_DIR
"""
import math
import os
import random
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

SCALE = 4
FONT_FILE = '/usr/share/fonts/truetype/wqy/wqy-microhei.ttc'

BANNER_SIZE = (600, 420)
BAND_HEIGHT = 255  # rows of the dark band; the pages sit below it
FACE_SIZE = (200, 40)
RETRY_SIZE = (160, 36)
BROWSE_SIZE = (40, 25)

WHITE = (255, 255, 255)

# Brand blue of the product icon, used for the logo tile and every button.
LOGO_TOP_LEFT = (0x4A, 0x9B, 0xFF)
LOGO_BOTTOM_RIGHT = (0x1C, 0x4F, 0xD8)

# Button faces: top and bottom colour of the vertical gradient, per state.
FACE_STATES = {
    'normal': ((0x3F, 0x8C, 0xFF), (0x1F, 0x66, 0xF0)),
    'hover': ((0x5E, 0xA2, 0xFF), (0x38, 0x7E, 0xF8)),
    'pressed': ((0x23, 0x6C, 0xE6), (0x17, 0x51, 0xC8)),
}


def mix(a, b, t):
    """Colour between a and b; t from 0 (a) to 1 (b)."""
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def font(size):
    return ImageFont.truetype(FONT_FILE, round(size * SCALE))


def reduce(image, size):
    """The supersampled RGBA image reduced to its final size, with alpha-correct filtering."""
    return image.convert('RGBa').resize(size, Image.LANCZOS).convert('RGBA')


def scaled(values):
    return tuple(round(v * SCALE) for v in values)


# --- Banner ------------------------------------------------------------------------------------------------

# Light sources of the band: centre, radius, colour, strength (all in final pixels).
BAND_GLOWS = [
    ((500, 30), 260, (0x2E, 0x7B, 0xFF), 0.60),
    ((80, 250), 220, (0x6B, 0x4D, 0xF0), 0.35),
    ((300, 140), 170, (0x2A, 0x6A, 0xF5), 0.22),
]
BAND_TOP_LEFT = (0x08, 0x11, 0x2E)
BAND_BOTTOM_RIGHT = (0x0D, 0x22, 0x5C)


def band_colour(x, y):
    """Colour of the band's smooth field at (x, y): a diagonal gradient lit by soft glows."""
    width, height = BANNER_SIZE[0], BAND_HEIGHT
    t = min(max((x / width) * 0.55 + (y / height) * 0.45, 0.0), 1.0)
    colour = list(mix(BAND_TOP_LEFT, BAND_BOTTOM_RIGHT, t))
    for (cx, cy), radius, glow, strength in BAND_GLOWS:
        d = math.hypot(x - cx, y - cy) / radius
        w = strength * math.exp(-d * d * 2.2)
        colour = [c + (g - c) * w for c, g in zip(colour, glow)]
    return colour


def band_field(size):
    """The band's smooth field at `size`, with a faint fixed dither so the dark gradient shows no steps."""
    width, height = size
    field = Image.new('RGB', size)
    pixels = field.load()
    noise = random.Random(7301)
    for y in range(height):
        for x in range(width):
            fx = x * BANNER_SIZE[0] / width
            fy = y * BAND_HEIGHT / height
            dither = noise.uniform(-0.6, 0.6)
            pixels[x, y] = tuple(min(max(round(c + dither), 0), 255) for c in band_colour(fx, fy))
    return field


def fade_mask(size, centre, radius, floor):
    """An L mask that is 255 at `centre` and falls to `floor` (0..1) at `radius` and beyond."""
    small = (max(size[0] // 8, 1), max(size[1] // 8, 1))
    mask = Image.new('L', small)
    pixels = mask.load()
    for y in range(small[1]):
        for x in range(small[0]):
            d = math.hypot(x * 8 - centre[0], y * 8 - centre[1]) / radius
            pixels[x, y] = round(255 * max(floor, 1 - min(d, 1.0) ** 1.6))
    return mask.resize(size, Image.BICUBIC)


def draw_dot_grid(band):
    """A fine grid of dots over the band, strongest on the right where the light is."""
    dots = Image.new('L', band.size, 0)
    draw = ImageDraw.Draw(dots)
    step = 12 * SCALE
    radius = 0.75 * SCALE
    for y in range(step // 2, band.size[1], step):
        for x in range(step // 2, band.size[0], step):
            draw.ellipse((x - radius, y - radius, x + radius, y + radius), fill=38)
    fade = fade_mask(band.size, scaled((560, 40)), 430 * SCALE, 0.12)
    band.paste(Image.new('RGB', band.size, (0xA8, 0xC8, 0xFF)), (0, 0),
               Image.composite(dots, Image.new('L', band.size, 0), fade))


# Nodes of the network motif on the right of the band (final pixels) and the links between them.
NETWORK_NODES = [(404, 42), (462, 24), (522, 58), (586, 72), (492, 96), (556, 114), (510, 166), (592, 156),
                 (552, 210), (474, 226), (596, 236)]
NETWORK_LINKS = [(0, 1), (1, 2), (2, 3), (1, 4), (2, 4), (2, 5), (3, 5), (4, 6), (5, 6), (5, 7), (6, 8),
                 (7, 8), (6, 9), (8, 9), (8, 10), (7, 10)]


def draw_network(band):
    """Thin links and glowing nodes: the proxy network the product connects to."""
    layer = Image.new('RGBA', band.size, (0, 0, 0, 0))
    draw = ImageDraw.Draw(layer)
    for a, b in NETWORK_LINKS:
        draw.line(scaled(NETWORK_NODES[a] + NETWORK_NODES[b]), fill=(0x9C, 0xC4, 0xFF, 46), width=SCALE)
    glow = Image.new('RGBA', band.size, (0, 0, 0, 0))
    glow_draw = ImageDraw.Draw(glow)
    for index, (x, y) in enumerate(NETWORK_NODES):
        r = 3.2 if index % 3 == 0 else 2.2
        glow_draw.ellipse(scaled((x - r * 3, y - r * 3, x + r * 3, y + r * 3)), fill=(0x5A, 0xA8, 0xFF, 110))
        draw.ellipse(scaled((x - r, y - r, x + r, y + r)), fill=(0xD6, 0xE8, 0xFF, 200))
    glow = glow.filter(ImageFilter.GaussianBlur(4 * SCALE))
    band.alpha_composite(glow)
    band.alpha_composite(layer)


def draw_rings(band, centre):
    """Faint concentric rings around the emblem, like a signal spreading out."""
    layer = Image.new('RGBA', band.size, (0, 0, 0, 0))
    draw = ImageDraw.Draw(layer)
    cx, cy = centre
    for radius, alpha in ((66, 34), (104, 22), (146, 14), (192, 8)):
        draw.ellipse(scaled((cx - radius, cy - radius, cx + radius, cy + radius)),
                     outline=(0xB8, 0xD4, 0xFF, alpha), width=SCALE)
    band.alpha_composite(layer)


def soft_shadow(band, box, radius, colour, blur, alpha):
    """A blurred rounded glow under an emblem."""
    layer = Image.new('RGBA', band.size, (0, 0, 0, 0))
    ImageDraw.Draw(layer).rounded_rectangle(scaled(box), radius=radius * SCALE, fill=colour + (alpha,))
    layer = layer.filter(ImageFilter.GaussianBlur(blur * SCALE))
    band.alpha_composite(layer)


def diagonal_tile(size, top_left, bottom_right, radius, shine):
    """A rounded square of `size` (supersampled pixels) with a diagonal gradient, lightened by `shine`
    (0..1) along its top edge, on transparency."""
    tile = Image.new('RGBA', (size, size))
    pixels = tile.load()
    for y in range(size):
        for x in range(size):
            t = (x + y) / (2 * size - 2)
            pixels[x, y] = mix(top_left, bottom_right, t) + (255,)
    light = Image.new('L', (size, size), 0)
    ImageDraw.Draw(light).rectangle((0, 0, size, size * 0.38), fill=round(255 * shine))
    light = light.filter(ImageFilter.GaussianBlur(size * 0.08))
    tile.paste(Image.new('RGB', (size, size), WHITE), (0, 0), light)
    mask = Image.new('L', (size, size), 0)
    ImageDraw.Draw(mask).rounded_rectangle((0, 0, size - 1, size - 1), radius=radius, fill=255)
    tile.putalpha(mask)
    return tile


def draw_logo(band, left, top, size):
    """The product mark: the icon's blue tile with a white V and the node at its foot."""
    s = size * SCALE
    tile = diagonal_tile(s, LOGO_TOP_LEFT, LOGO_BOTTOM_RIGHT, round(s * 0.24), 0.10)
    draw = ImageDraw.Draw(tile)
    unit = s / 64
    stroke = round(9.2 * unit)
    for start in ((17, 16), (47, 16)):
        points = [(start[0] * unit, start[1] * unit), (32 * unit, 39 * unit)]
        draw.line(points, fill=WHITE, width=stroke)
        for px, py in points:
            draw.ellipse((px - stroke / 2, py - stroke / 2, px + stroke / 2, py + stroke / 2), fill=WHITE)
    r = 4.6 * unit
    draw.ellipse((32 * unit - r, 51 * unit - r, 32 * unit + r, 51 * unit + r), fill=WHITE)
    band.alpha_composite(tile, scaled((left, top)))


def draw_check_badge(band, centre, radius):
    """A green disc with a white check mark and a thin halo: the install has finished."""
    cx, cy = centre
    halo = Image.new('RGBA', band.size, (0, 0, 0, 0))
    ImageDraw.Draw(halo).ellipse(scaled((cx - radius - 7, cy - radius - 7, cx + radius + 7, cy + radius + 7)),
                                 outline=(0x7C, 0xF0, 0xC0, 60), width=2 * SCALE)
    band.alpha_composite(halo)
    size = 2 * radius * SCALE
    disc = Image.new('RGBA', (size, size))
    pixels = disc.load()
    for y in range(size):
        for x in range(size):
            pixels[x, y] = mix((0x3D, 0xDC, 0x97), (0x0E, 0xA5, 0x6B), (x + y) / (2 * size - 2)) + (255,)
    mask = Image.new('L', (size, size), 0)
    ImageDraw.Draw(mask).ellipse((0, 0, size - 1, size - 1), fill=255)
    disc.putalpha(mask)
    draw = ImageDraw.Draw(disc)
    unit = size / 100
    points = [(28 * unit, 52 * unit), (44 * unit, 67 * unit), (73 * unit, 36 * unit)]
    stroke = round(9 * unit)
    draw.line(points, fill=WHITE, width=stroke, joint='curve')
    for px, py in (points[0], points[-1]):
        draw.ellipse((px - stroke / 2, py - stroke / 2, px + stroke / 2, py + stroke / 2), fill=WHITE)
    band.alpha_composite(disc, scaled((cx - radius, cy - radius)))


def text_width(text, size, spacing):
    """Width in final pixels of `text` at `size` with `spacing` added between characters."""
    face = font(size)
    return sum(face.getlength(ch) for ch in text) / SCALE + spacing * (len(text) - 1)


def draw_text(image, position, text, size, colour, anchor='ls', bold=0.0, spacing=0.0):
    """Text in `colour` at `position` (final pixels), a Pillow anchor whose first letter is l (starts there)
    or m (centred there); `bold` thickens strokes by that many final pixels, `spacing` adds space between
    characters."""
    layer = Image.new('RGBA', image.size, (0, 0, 0, 0))
    draw = ImageDraw.Draw(layer)
    face = font(size)
    stroke = round(bold * SCALE)
    fill = colour + (255,)
    x, y = scaled(position)
    if anchor[0] == 'm':
        x -= text_width(text, size, spacing) * SCALE / 2
    for ch in text:
        draw.text((x, y), ch, font=face, fill=fill, anchor='l' + anchor[1], stroke_width=stroke, stroke_fill=fill)
        x += face.getlength(ch) + spacing * SCALE
    image.alpha_composite(layer)


# Where the emblem and the words sit in the band (final pixels): a centred row of emblem and text block.
EMBLEM_SIZE = 84
EMBLEM_TOP = 104
TEXT_GAP = 24


def band_base():
    """The band without emblem or words, supersampled; the mini logo of the title bar included."""
    width = BANNER_SIZE[0] * SCALE
    height = BAND_HEIGHT * SCALE
    band = band_field((BANNER_SIZE[0] // 2, BAND_HEIGHT // 2)).resize((width, height), Image.BICUBIC)
    band = band.convert('RGBA')
    draw_dot_grid(band)
    draw_network(band)
    # A hairline of light where the band meets the white part.
    edge = Image.new('RGBA', band.size, (0, 0, 0, 0))
    ImageDraw.Draw(edge).rectangle((0, height - SCALE, width, height), fill=(0x6E, 0x9C, 0xFF, 70))
    band.alpha_composite(edge)
    draw_logo(band, 14, 10, 18)
    return band


def compose_banner(emblem, glow, headline, subline, tagline):
    """The 600 x 420 banner: band with an emblem (lit from below by `glow`) left of a headline, subline and
    tagline; white below."""
    band = band_base()
    head_size, sub_size, tag_size = 40, 16, 11
    head_width = text_width(headline, head_size, 1.0)
    sub_width = text_width(subline, sub_size, 1.5)
    block = max(head_width, sub_width)
    left = round((BANNER_SIZE[0] - (EMBLEM_SIZE + TEXT_GAP + block)) / 2)
    centre = (left + EMBLEM_SIZE / 2, EMBLEM_TOP + EMBLEM_SIZE / 2)
    draw_rings(band, centre)
    soft_shadow(band, (left + 4, EMBLEM_TOP + 10, left + EMBLEM_SIZE - 4, EMBLEM_TOP + EMBLEM_SIZE + 6), 20,
                glow, 12, 150)
    emblem(band, left, EMBLEM_TOP, EMBLEM_SIZE)
    text_left = left + EMBLEM_SIZE + TEXT_GAP
    draw_text(band, (text_left, EMBLEM_TOP + 40), headline, head_size, WHITE, bold=1.0, spacing=1.0)
    draw_text(band, (text_left, EMBLEM_TOP + 66), subline, sub_size, (0xC9, 0xDB, 0xFF), spacing=1.5)
    draw_text(band, (text_left, EMBLEM_TOP + 86), tagline, tag_size, (0x8F, 0xAE, 0xE8), spacing=2.2)

    # The band is reduced on its own, so that its lower edge stays sharp and the white part stays white.
    banner = Image.new('RGBA', BANNER_SIZE, WHITE + (255,))
    banner.paste(reduce(band, (BANNER_SIZE[0], BAND_HEIGHT)), (0, 0))
    return banner


def banner():
    return compose_banner(draw_logo, (0x1A, 0x5C, 0xFF), 'Vexo助手', '一键连接，畅享极速稳定网络',
                          'FAST · STABLE · SECURE')


def banner_done():
    def badge(band, left, top, size):
        draw_check_badge(band, (left + size / 2, top + size / 2), round(size * 0.46))
    return compose_banner(badge, (0x12, 0xB8, 0x7A), '安装成功', 'Vexo助手已就绪，欢迎使用',
                          'INSTALLATION COMPLETE')


# --- Buttons -----------------------------------------------------------------------------------------------

def pill_face(size, colours, label):
    """A rounded face of `size` with a vertical gradient, a light inner top edge and a centred white label."""
    width, height = size[0] * SCALE, size[1] * SCALE
    top, bottom = colours
    face = Image.new('RGBA', (width, height))
    draw = ImageDraw.Draw(face)
    for y in range(height):
        draw.line((0, y, width, y), fill=mix(top, bottom, y / (height - 1)) + (255,))
    radius = height // 2
    # The light top edge: the shape minus itself moved down by one pixel.
    rim = Image.new('L', (width, height), 0)
    ImageDraw.Draw(rim).rounded_rectangle((0, 0, width - 1, height - 1), radius=radius, fill=64)
    ImageDraw.Draw(rim).rounded_rectangle((0, SCALE, width - 1, height - 1 + SCALE), radius=radius, fill=0)
    face.paste(Image.new('RGB', (width, height), WHITE), (0, 0), rim)
    mask = Image.new('L', (width, height), 0)
    ImageDraw.Draw(mask).rounded_rectangle((0, 0, width - 1, height - 1), radius=radius, fill=255)
    face.putalpha(mask)
    if label:
        draw_text(face, (size[0] / 2, size[1] / 2 + 0.5), label, 16, WHITE, anchor='mm', bold=0.5, spacing=2.5)
    return reduce(face, size)


def browse_face():
    """A light rounded tile with a blue folder: the browse button beside the path field."""
    width, height = BROWSE_SIZE[0] * SCALE, BROWSE_SIZE[1] * SCALE
    tile = Image.new('RGBA', (width, height), (0, 0, 0, 0))
    draw = ImageDraw.Draw(tile)
    draw.rounded_rectangle((0, 0, width - 1, height - 1), radius=3 * SCALE, fill=(0xD5, 0xDC, 0xE6, 255))
    draw.rounded_rectangle((SCALE, SCALE, width - 1 - SCALE, height - 1 - SCALE), radius=2 * SCALE,
                           fill=(0xF4, 0xF7, 0xFB, 255))
    # Folder: back with a tab, then a lighter front flap.
    left, top = 12.5, 6.5
    back = (0x2F, 0x74, 0xF0, 255)
    front = (0x5B, 0x9B, 0xFF, 255)
    draw.rounded_rectangle(scaled((left, top, left + 6.5, top + 4)), radius=SCALE, fill=back)
    draw.rounded_rectangle(scaled((left, top + 1.5, left + 15, top + 12)), radius=1.5 * SCALE, fill=back)
    draw.rounded_rectangle(scaled((left, top + 4, left + 15, top + 12)), radius=1.5 * SCALE, fill=front)
    return reduce(tile, BROWSE_SIZE)


def pictures():
    """Every picture by file name."""
    result = {'banner.png': banner(), 'banner_done.png': banner_done(), 'browse.png': browse_face()}
    for state, colours in FACE_STATES.items():
        result[f'install_{state}.png'] = pill_face(FACE_SIZE, colours, '极速安装')
        result[f'launch_{state}.png'] = pill_face(FACE_SIZE, colours, '立即体验')
        result[f'retry_{state}.png'] = pill_face(RETRY_SIZE, colours, '')
    return result


def main():
    if len(sys.argv) != 2:
        sys.exit('usage: make-skin-pictures.py OUTPUT_DIR')
    out_dir = sys.argv[1]
    os.makedirs(out_dir, exist_ok=True)
    for name, picture in pictures().items():
        picture.save(os.path.join(out_dir, name), optimize=True)


if __name__ == '__main__':
    main()
