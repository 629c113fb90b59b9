#!/bin/sh
# Makes the test photos of the photo-calendar benchmark: twelve 4000 x 3000 JPEGs of photographic
# content (smooth colour fields with sensor-like grain), quality 92, 4:2:0 as phone cameras write them,
# about 3-5 MB each. Usage: photo_make_photos.sh FOLDER [COUNT]. Existing photos are kept.
set -eu
folder=${1:?usage: photo_make_photos.sh FOLDER [COUNT]}
count=${2:-12}
command -v convert >/dev/null 2>&1 || { echo "photo_make_photos.sh: ImageMagick's convert is not installed" >&2; exit 1; }
mkdir -p "$folder"
colours="skyblue-forestgreen orange-purple gold-navy tan-darkgreen pink-teal wheat-maroon"
i=1
while [ "$i" -le "$count" ]; do
    name=$(printf '%s/IMG_%04d.jpg' "$folder" "$i")
    if [ ! -s "$name" ]; then
        set -- $colours
        shift $(( (i - 1) % 6 ))
        convert -seed "$i" -size 1000x750 "plasma:$1" -resize '4000x3000!' -attenuate 0.6 +noise Gaussian \
            -blur 0x0.4 -quality 92 -sampling-factor 2x2 "jpg:$name.part"
        mv "$name.part" "$name"
    fi
    i=$((i + 1))
done
