#!/usr/bin/python3
"""Draws the sample videos shipped beside Orvanta.exe and encodes them with ffmpeg.

    /usr/bin/python3 scripts/make_videos.py [OUTDIR]     (default res/videos)

Needs Debian's python3-numpy and ffmpeg. Every frame is drawn here (numpy, no pictures from
elsewhere); ffmpeg only encodes: MS Video 1 AVI (decoded by Windows and by Wine's own codec)
and WMV 8 with WMA 2 sound. The output is deterministic for one ffmpeg version.
"""
import os
import subprocess
import sys
import tempfile
import wave

import numpy as np

W, H, FPS = 320, 240, 15
YY, XX = np.mgrid[0:H, 0:W].astype(np.float32)


def backdrop(top, bottom):
    t = (YY / (H - 1))[..., None]
    return (np.array(top, np.float32) * (1 - t) + np.array(bottom, np.float32) * t).copy()


def fill_polygon(img, pts, colour):
    """Fills a convex polygon given in screen coordinates, clockwise or not."""
    inside = np.ones((H, W), bool)
    area = sum(pts[i][0] * pts[(i + 1) % len(pts)][1] - pts[(i + 1) % len(pts)][0] * pts[i][1] for i in range(len(pts)))
    sign = 1 if area > 0 else -1
    for i in range(len(pts)):
        (x0, y0), (x1, y1) = pts[i], pts[(i + 1) % len(pts)]
        inside &= sign * ((x1 - x0) * (YY - y0) - (y1 - y0) * (XX - x0)) >= 0
    img[inside] = colour


def cube_frames(n):
    corners = np.array([[x, y, z] for x in (-1, 1) for y in (-1, 1) for z in (-1, 1)], np.float32)
    faces = [(0, 1, 3, 2), (4, 6, 7, 5), (0, 4, 5, 1), (2, 3, 7, 6), (0, 2, 6, 4), (1, 5, 7, 3)]
    colours = [(220, 60, 60), (60, 180, 90), (70, 110, 230), (235, 200, 60), (200, 90, 210), (60, 200, 210)]
    light = np.array([0.4, -0.6, -0.7]) / np.linalg.norm([0.4, -0.6, -0.7])
    for f in range(n):
        a = 2 * np.pi * f / n  # one full turn per loop: it loops seamlessly
        ry = np.array([[np.cos(a), 0, np.sin(a)], [0, 1, 0], [-np.sin(a), 0, np.cos(a)]])
        rx = np.array([[1, 0, 0], [0, np.cos(0.55), -np.sin(0.55)], [0, np.sin(0.55), np.cos(0.55)]])
        p = corners @ (rx @ ry).T
        z = p[:, 2] + 5
        screen = np.stack([W / 2 + 260 * p[:, 0] / z, H / 2 + 260 * p[:, 1] / z], 1)
        img = backdrop((24, 10, 40), (70, 30, 90))
        shadow = ((XX - W / 2) / 90) ** 2 + ((YY - 205) / 14) ** 2 < 1
        img[shadow] *= 0.6
        for face, colour in sorted(zip(faces, colours), key=lambda fc: -np.mean(z[list(fc[0])])):
            v = p[list(face)]
            normal = np.cross(v[1] - v[0], v[2] - v[0])
            normal /= np.linalg.norm(normal)
            if np.dot(normal, np.mean(v, 0)) < 0:
                normal = -normal  # outward
            if np.dot(normal, np.mean(v, 0) + [0, 0, 5]) >= 0:
                continue  # facing away
            shade = 0.35 + 0.65 * max(0.0, float(np.dot(normal, light)))
            fill_polygon(img, [tuple(screen[i]) for i in face], np.array(colour) * shade)
        yield img


def sphere_frames(n):
    balls = [((230, 70, 70), 34, 1, 2, 0.0), ((70, 200, 110), 28, 2, 1, 1.3), ((80, 120, 240), 40, 1, 1, 2.1),
             ((240, 210, 70), 22, 3, 2, 0.7), ((210, 100, 220), 30, 2, 3, 2.9)]
    for f in range(n):
        t = 2 * np.pi * f / n
        img = backdrop((10, 20, 45), (30, 60, 90))
        placed = []
        for colour, r, kx, ky, phase in balls:
            cx = W / 2 + (W / 2 - r - 8) * np.sin(kx * t + phase)
            cy = H / 2 + (H / 2 - r - 8) * np.sin(ky * t + 2 * phase)
            depth = np.cos(kx * t + phase)
            placed.append((depth, colour, r, cx, cy))
        for depth, colour, r, cx, cy in sorted(placed):
            d2 = ((XX - cx) ** 2 + (YY - cy) ** 2) / r**2
            inside = d2 < 1
            nz = np.sqrt(np.clip(1 - d2, 0, 1))
            nx, ny = (XX - cx) / r, (YY - cy) / r
            diffuse = np.clip(-0.45 * nx - 0.55 * ny + 0.7 * nz, 0, 1)
            shine = diffuse ** 24  # the highlight, where the light falls most directly
            c = np.array(colour, np.float32) * (0.25 + 0.75 * diffuse)[..., None] + 255 * shine[..., None]
            img[inside] = c[inside]
        yield img


def heart_frames(n):
    for f in range(n):
        beat = 1 + 0.12 * max(0.0, np.sin(4 * np.pi * f / n)) ** 3
        img = backdrop((250, 200, 215), (200, 60, 110))
        x = (XX - W / 2) / (70 * beat)
        y = -(YY - H / 2 + 10) / (70 * beat)
        heart = (x**2 + y**2 - 1) ** 3 - x**2 * y**3 < 0
        glow = np.clip(1 - np.sqrt((XX - W / 2 + 25) ** 2 + (YY - H / 2 + 30) ** 2) / 120, 0, 1)
        c = np.array((215, 20, 60), np.float32) + 80 * glow[..., None]
        img[heart] = c[heart]
        yield img


def dino_frames(n):
    for f in range(n):
        t = f / n
        img = backdrop((255, 170, 80), (120, 40, 60))
        sun = (XX - 230) ** 2 + (YY - 90) ** 2 < 35**2
        img[sun] = (255, 230, 150)
        hills = YY > 175 + 18 * np.sin(XX / 37 + 1) + 8 * np.sin(XX / 13)
        img[hills] = (40, 20, 30)
        x0, step = -90 + 480 * t, np.sin(2 * np.pi * 8 * t)
        body = ((XX - x0) / 48) ** 2 + ((YY - 150) / 22) ** 2 < 1
        neck = ((XX - x0 - 50) / 12) ** 2 + ((YY - 118) / 30) ** 2 < 1
        head = ((XX - x0 - 62) / 16) ** 2 + ((YY - 92) / 9) ** 2 < 1
        tail = (XX < x0 - 30) & (XX > x0 - 110) & (np.abs(YY - 150 + (XX - x0 + 30) * 0.18) < 9 + (XX - x0 + 110) * 0.06)
        legs = np.zeros((H, W), bool)
        for lx, sway in ((-25, step), (25, -step)):
            legs |= (np.abs(XX - x0 - lx - 8 * sway * (YY - 160) / 30) < 7) & (YY > 160) & (YY < 192)
        img[body | neck | head | tail | legs] = (30, 15, 25)
        yield img


def sound(path, seconds, notes):
    rate = 22050
    t = np.arange(int(rate * seconds)) / rate
    s = sum(np.sin(2 * np.pi * hz * t) for hz in notes) / len(notes)
    envelope = np.minimum(1, np.minimum(t / 0.3, (seconds - t) / 0.3))
    with wave.open(path, "wb") as w:
        w.setnchannels(1), w.setsampwidth(2), w.setframerate(rate)
        w.writeframes((s * envelope * 9000).astype("<i2").tobytes())


def encode(frames, out, seconds, codec_args, notes=None):
    cmd = ["ffmpeg", "-v", "error", "-y", "-f", "rawvideo", "-pix_fmt", "rgb24", "-s", f"{W}x{H}", "-r", str(FPS), "-i", "-"]
    with tempfile.TemporaryDirectory() as tmp:
        if notes:
            sound(os.path.join(tmp, "s.wav"), seconds, notes)
            cmd += ["-i", os.path.join(tmp, "s.wav"), "-c:a", "wmav2", "-b:a", "48k"]
        cmd += ["-map_metadata", "-1", "-fflags", "+bitexact"] + codec_args + [out]
        enc = subprocess.Popen(cmd, stdin=subprocess.PIPE)
        for img in frames(int(seconds * FPS)):
            enc.stdin.write(np.clip(img, 0, 255).astype(np.uint8).tobytes())
        enc.stdin.close()
        if enc.wait() != 0:
            sys.exit(f"ffmpeg failed for {out}")
    print(f"{out}: {os.path.getsize(out)} bytes")


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "res", "videos")
    os.makedirs(out, exist_ok=True)
    avi = ["-c:v", "msvideo1", "-pix_fmt", "rgb555le", "-g", "1000"]
    wmv = ["-c:v", "wmv2", "-b:v", "300k", "-g", "30"]
    encode(cube_frames, os.path.join(out, "cubeturn2.avi"), 4, avi)
    encode(sphere_frames, os.path.join(out, "Spheres2.avi"), 4, avi)
    encode(heart_frames, os.path.join(out, "Love.wmv"), 4, wmv, notes=(262, 330, 392))
    encode(dino_frames, os.path.join(out, "jurrassic.wmv"), 4, wmv, notes=(98, 147))


if __name__ == "__main__":
    main()
