# Stages the package project: PROJECT (the project's files) and PROGRAM (the built program)
# copied into TO, which is made afresh; TO.stamp marks the staging for the build. file(COPY)
# keeps the files' times, which the package stores and the installed files receive.
file(REMOVE_RECURSE ${TO})
file(COPY ${PROJECT}/ DESTINATION ${TO})
file(COPY ${PROGRAM} DESTINATION ${TO})
file(TOUCH ${TO}.stamp)
