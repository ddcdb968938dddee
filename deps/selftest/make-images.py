"""Writes the sample files the FreeImage self-test decodes.

Usage: make-images.py FOLDER. Prints the size of the ICC profile embedded in
photo.jpg and photo.tif.
"""
import sys
from pathlib import Path

from PIL import Image, ImageCms


def gradient(width, height):
    image = Image.new("RGB", (width, height))
    image.putdata([(x * 255 // (width - 1), y * 255 // (height - 1), (x * y) % 256)
                   for y in range(height) for x in range(width)])
    return image


def main():
    folder = Path(sys.argv[1])
    icc = ImageCms.ImageCmsProfile(ImageCms.createProfile("sRGB")).tobytes()

    photo = gradient(64, 48)
    photo.save(folder / "photo.jpg", quality=90, icc_profile=icc)
    photo.convert("L").resize((33, 17)).save(folder / "grey.jpg")
    gradient(40, 30).save(folder / "photo.tif", compression="tiff_lzw", icc_profile=icc)
    gradient(8, 8).save(folder / "picture.bmp")

    whole = (folder / "photo.jpg").read_bytes()
    (folder / "cut-in-pixels.jpg").write_bytes(whole[: len(whole) // 2])
    (folder / "cut-in-header.jpg").write_bytes(whole[:200])
    print(len(icc))


if __name__ == "__main__":
    main()
