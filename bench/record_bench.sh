#!/bin/sh
# Recording speed: ten seconds of the main show at 1280x720 and 30 fps in each format, against the
# ten seconds it shows. The machine's load is printed too: other work on the cores slows it.
record=$1
folder=$(mktemp -d) || exit 1
trap 'rm -rf "$folder"' EXIT
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg), cores: $(nproc)"
for output in show.mp4 show.webm show.webp lossless.webp; do
    quality=; [ "$output" = lossless.webp ] && quality=--lossless
    /usr/bin/time -f "%e %U %S" -o "$folder/time" "$record" --seed 5 --start 10 --seconds 10 $quality \
        --output "$folder/$output" >/dev/null || exit 1
    read -r wall user system < "$folder/time"
    awk -v name="$output" -v wall="$wall" -v cpu="$user + $system" -v size="$(stat -c %s "$folder/$output")" \
        'BEGIN { split(cpu, c, " + "); printf "%-14s %6.2f s wall (%.2fx real time), %6.2f s CPU, %d bytes\n",
                 name, wall, 10 / wall, c[1] + c[2], size }'
done
