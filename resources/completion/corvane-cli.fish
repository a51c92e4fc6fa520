# fish completion for corvane-cli

set -l commands list info get set describe save-profile load-profile restart test-pattern reset-defaults watch
set -l tags LMAX KTIM STUP CPRO LPRO LAYO BRIG COL0 COL1 MIRR SCFG MCHN MCNT MXOR MBEG 1CFG 2CFG 3CFG 4CFG 5CFG 6CFG
set -l fields capacity keys.bootloader_ms keys.pc_disk_ms \
    startup.red startup.green startup.blue startup.length_ms \
    com.protocol led.protocol layout.type brightness_percent \
    channel1.color_order channel2.color_order channel3.color_order channel4.color_order \
    channel5.color_order channel6.color_order channel7.color_order channel8.color_order \
    stripe.mirror matrix.mirror_x matrix.mirror_y \
    stripe.leds_per_channel stripe.channels \
    matrix.modules_x matrix.modules_y matrix.module_leds_x matrix.module_leds_y \
    matrix.led_order matrix.first_led \
    ws2811.period ws2811.t0h ws2811.t1h apa106.period apa106.t0h apa106.t1h \
    ws2821.bit_width ws2801.clock apa102.clock lpd8803.clock

# Serial numbers of the controllers the line would reach (simulated ones when
# the line asks for simulation).
function __corvane_cli_serials
    set -l tokens (commandline -opc)
    set -l simulation
    for i in (seq 2 (count $tokens))
        switch $tokens[$i]
            case '--simulate' '--simulate=*' '--simulate-state=*'
                set -a simulation $tokens[$i]
            case '--simulate-state'
                set -a simulation $tokens[$i] $tokens[(math $i + 1)]
        end
    end
    $tokens[1] $simulation list 2>/dev/null | string replace -r ' .*' ''
end

complete -c corvane-cli -f
complete -c corvane-cli -l device -x -a '(__corvane_cli_serials)' -d 'Work with the controller of this serial number'
complete -c corvane-cli -l all -d 'Run the command on every attached controller'
complete -c corvane-cli -l simulate -d 'Work with simulated controllers (--simulate=N for N)'
complete -c corvane-cli -l simulate-state -r -F -d 'State file of the simulated controllers'
complete -c corvane-cli -l simulate-faults -x -d 'Make simulated controllers fail: SERIAL:ACTION[,...]'
complete -c corvane-cli -l trace -d 'Write every HID report to standard error'
complete -c corvane-cli -l verbose -d 'Write the program'"'"'s log lines to standard error'
complete -c corvane-cli -l json -d 'Print one JSON document'
complete -c corvane-cli -l raw -d 'Write tag values without checking their fields'
complete -c corvane-cli -s h -l help -d 'Show the help'

set -l no_command "not __fish_seen_subcommand_from $commands"
complete -c corvane-cli -n $no_command -s V -l version -d 'Show the version'
complete -c corvane-cli -n '__fish_seen_subcommand_from set load-profile' -l dry-run -d 'Say what would change, write nothing'
complete -c corvane-cli -n $no_command -a list -d 'List the controllers'
complete -c corvane-cli -n $no_command -a info -d 'Firmware information and capacity'
complete -c corvane-cli -n $no_command -a get -d 'Print parameters or fields'
complete -c corvane-cli -n $no_command -a set -d 'Change parameters by tag or field name'
complete -c corvane-cli -n $no_command -a describe -d 'List every field with its range and unit'
complete -c corvane-cli -n $no_command -a save-profile -d 'Save the configuration to a profile'
complete -c corvane-cli -n $no_command -a load-profile -d 'Apply a profile'
complete -c corvane-cli -n $no_command -a restart -d 'Restart the controller'
complete -c corvane-cli -n $no_command -a test-pattern -d 'Show the test pattern'
complete -c corvane-cli -n $no_command -a reset-defaults -d 'Reset all parameters to their defaults'
complete -c corvane-cli -n $no_command -a watch -d 'Report controllers arriving and leaving'

complete -c corvane-cli -n '__fish_seen_subcommand_from get' -l fields -d 'Print fields as name=value'
complete -c corvane-cli -n '__fish_seen_subcommand_from get' -a "$tags $fields"
# What "set" takes: every name but the read-only capacity, each with its "=";
# after the "=" of a list field, the names of its items.
function __corvane_cli_assignments --inherit-variable tags --inherit-variable fields
    set -l token (commandline -ct)
    if not string match -q -- '*=*' $token
        printf '%s=\n' (string match -v LMAX -- $tags) (string match -v capacity -- $fields)
        return
    end
    set -l field (string split -m1 = -- $token)[1]
    set -l items
    switch $field
        case com.protocol
            set items tpm2 glediator
        case led.protocol
            set items ws2811 apa106 ws2821 ws2801 apa102 lpd8803
        case layout.type
            set items stripe matrix
        case 'channel?.color_order'
            set items rgb rbg bgr brg gbr grb
        case stripe.mirror matrix.mirror_x matrix.mirror_y
            set items off on
        case matrix.led_order
            set items linewise snake_lines columnwise snake_columns
        case matrix.first_led
            set items top_left top_right bottom_left bottom_right
        case ws2801.clock apa102.clock lpd8803.clock
            set items 24mbit 12mbit 6mbit 3mbit 1.5mbit 750kbit 375kbit 187.5kbit
    end
    printf "$field=%s\n" $items
end
complete -c corvane-cli -n '__fish_seen_subcommand_from set' -a '(__corvane_cli_assignments)'
complete -c corvane-cli -n '__fish_seen_subcommand_from save-profile load-profile' -F
complete -c corvane-cli -n '__fish_seen_subcommand_from watch' -l apply -r -F -d 'Apply a profile to each controller that arrives'
