# Brings the device root up to the sample tree: a file that is missing or
# whose time differs from the sample's is copied again, links are made again,
# and a root that is whole is left untouched, so builds may run while tests
# copy the root. Usage: cmake -DSAMPLE=<sim/device> -DDEVICE=<root> -P copy_device.cmake
file(MAKE_DIRECTORY ${DEVICE})
file(COPY ${SAMPLE}/ DESTINATION ${DEVICE})
